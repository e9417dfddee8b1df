#include "widgets/placement.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace belvorine {
namespace {

QPointer<QWidget>& mainWindowPointer() {
    static QPointer<QWidget> window;
    return window;
}

// One axis of centredPosition, on edges as the original platform gives
// them (the far edge exclusive).
int centreOnAxis(int length, int mainStart, int mainEnd, int areaEnd) {
    int start = (mainStart + mainEnd - length) / 2;
    if (start + length > areaEnd) {
        start = areaEnd - length;
    }
    // Checked last, so that a dialog larger than the work area starts at 0
    // instead of a negative position.
    return start < 0 ? 0 : start;
}

// One axis of keepInsideWorkArea.
void clampAxis(int& start, int& end, int areaStart, int areaEnd) {
    if (start < areaStart) {
        const int length = end - start;
        start = areaStart;
        end = std::min(areaStart + length, areaEnd);
    }
    if (end > areaEnd) {
        start = std::max(0, start - (end - areaEnd));
        end = areaEnd;
    }
}

}  // namespace

QPoint centredPosition(QSize dialogSize, QRect mainWindow, QRect workArea) {
    const QRect over = mainWindow.isEmpty() ? workArea : mainWindow;
    const int areaRight = workArea.x() + workArea.width();
    const int areaBottom = workArea.y() + workArea.height();
    return QPoint(centreOnAxis(dialogSize.width(), over.x(), over.x() + over.width(), areaRight),
                  centreOnAxis(dialogSize.height(), over.y(), over.y() + over.height(),
                               areaBottom));
}

QRect keepInsideWorkArea(QRect window, QRect workArea) {
    int left = window.x();
    int right = window.x() + window.width();
    int top = window.y();
    int bottom = window.y() + window.height();
    clampAxis(top, bottom, workArea.y(), workArea.y() + workArea.height());
    clampAxis(left, right, workArea.x(), workArea.x() + workArea.width());
    return QRect(left, top, right - left, bottom - top);
}

QRect workArea(const QWidget* widget) {
    const QScreen* screen = widget ? widget->screen() : nullptr;
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void setMainWindow(QWidget* window) {
    mainWindowPointer() = window;
}

QWidget* mainWindow() {
    return mainWindowPointer().data();
}

void centreDialog(QWidget* dialog) {
    QWidget* main = mainWindow();
    QRect mainRect;
    if (main && !main->isMinimized() && main->isVisible()) {
        mainRect = main->frameGeometry();
    }
    const QPoint position = centredPosition(dialog->frameGeometry().size(), mainRect,
                                            workArea(main ? main : dialog));
    dialog->move(position);
}

}  // namespace belvorine
