#include "preview/preview_window.h"

#include <algorithm>

#include "data/settings_state.h"
#include "form/page_geometry.h"
#include "form/page_renderer.h"
#include "platform/painter_device_context.h"
#include "preview/layout_resets.h"
#include "shell/mode_state.h"

namespace belvorine {
namespace {

// The room around the page: the page is centred when the window is wider
// than the page and this much, and otherwise starts half of it from the
// window's edge.
constexpr int kPageRoom = 60;

// The stored zoom; 0 is taken as 100 (and stored so). A value an edited
// settings file put outside 40 to 200 is drawn at the nearest limit, so that
// it can never ask for a bitmap larger than the largest zoom's.
int zoomPercent() {
    std::int32_t& zoom = settings().initialData.zoomPercent;
    if (zoom == 0) {
        zoom = 100;
    }
    return std::clamp(zoom, 40, 200);
}

int originOnAxis(int page, int client) {
    return client > page + kPageRoom ? (2 * page - client) / 2 : (2 * page - page) / 2 - 30;
}

}  // namespace

PreviewWindow::PreviewWindow(QWidget* parent) : ScrolledBitmapView(parent) {
    setObjectName(QStringLiteral("Preview"));
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(background);
}

QPoint PreviewWindow::origin() const {
    return QPoint(originOnAxis(paper_.width(), state_.clientWidth),
                  originOnAxis(paper_.height(), state_.clientHeight));
}

int PreviewWindow::lastPage() {
    return 2 + (printerSettings(currentFormat()).makeAcknowledgement == 1 ? 1 : 0);
}

void PreviewWindow::updateExtents() {
    if (hasUnits()) {
        state_.horizontalExtent = (paper_.width() + kPageRoom) / state_.horizontalUnit;
        state_.verticalExtent = (paper_.height() + kPageRoom) / state_.verticalUnit;
        setupScroll(*this, state_);
    }
}

void PreviewWindow::clientResized() {
    updateExtents();
}

int PreviewWindow::render() {
    const int zoom = zoomPercent();
    PageGeometry geometry;
    if (!startRender(zoom, geometry)) {
        return 0;
    }
    const PageSettings print = printerSettings(currentFormat());
    const int w = geometry.paperWidth;
    const int h = geometry.paperHeight;
    paper_ = QSize(w, h);

    const bool layoutMode = modeState().layoutMode == 1;
    // The preview draws in greys only (the paper is the window's base
    // colour, grey in every usual scheme): 8 bits per pixel hold it exactly,
    // a quarter of the memory of 32 bits. A coloured base needs colour.
    const QColor paperColor = layoutMode ? QColor(Qt::white) : palette().color(QPalette::Base);
    const bool grey =
        paperColor.red() == paperColor.green() && paperColor.green() == paperColor.blue();
    QImage& bitmap = newBitmap(2 * paper_, QColor(192, 192, 192),
                               grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    {
        PainterDeviceContext dc(&bitmap);
        dc.setSolidPen(0);
        // The sheet with its shadow.
        dc.drawRectangle(QRect(w / 2 + 4, h / 2 + 4, w, h), Qt::black);
        dc.drawRectangle(QRect(w / 2, h / 2, w, h), paperColor);
        dc.setTextColor(layoutMode ? QColor(128, 128, 128) : QColor(Qt::black));
        if (print.orderAndCopyOnOneSheet == 1 && !layoutMode) {
            // The order in the upper half of the sheet, its copy below.
            PageGeometry upper = geometry;
            upper.marginBoxBottom -= 50 * h;
            drawFormPage(dc, upper, print, zoom, kDocumentOrder);
            PageGeometry lower = geometry;
            lower.marginBoxTop += 50 * h;
            drawFormPage(dc, lower, print, zoom, kDocumentOrderCopy);
        } else {
            drawFormPage(dc, geometry, print, zoom, modeState().previewPage);
        }
    }
    updateExtents();
    viewport()->update();
    return 1;
}

void PreviewWindow::command(int id) {
    constexpr int kResetToStartup = 40024;
    constexpr int kResetToFactory = 40025;
    if (id != kResetToStartup && id != kResetToFactory) {
        return;
    }
    const int result = id == kResetToStartup ? resetToStartup(this) : resetToFactory(this);
    if (result == kResetPrinterFailed) {
        emit resetFailed();
    } else if (result == kResetDone) {
        render();
    }
}

void PreviewWindow::previousPage() {
    if (printerSettings(currentFormat()).orderAndCopyOnOneSheet == 1) {
        return;
    }
    int& page = modeState().previewPage;
    page = std::max(page - 1, 1);
    emit pageChanged();
    render();
}

void PreviewWindow::nextPage() {
    if (printerSettings(currentFormat()).orderAndCopyOnOneSheet == 1) {
        return;
    }
    int& page = modeState().previewPage;
    page = std::min(page + 1, lastPage());
    emit pageChanged();
    render();
}

}  // namespace belvorine
