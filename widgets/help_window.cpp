#include "widgets/help_window.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPointer>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "widgets/placement.h"

namespace belvorine {
namespace {

const QString kContentsTopic = QStringLiteral("::/index.html");

}  // namespace

HelpWindow* HelpWindow::instance() {
    static QPointer<HelpWindow> window;
    if (!window) {
        window = new HelpWindow();
        window->setAttribute(Qt::WA_QuitOnClose, false);
    }
    return window;
}

// A modal dialog blocks every window but its own children, so the help is
// lent to the dialog it is opened from while that dialog runs, and goes back
// to the dialog below it (or stands on its own) when that one ends.
void HelpWindow::followModalDialog() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != this) {
        belongTo(modal);
    }
}

void HelpWindow::belongTo(QWidget* owner) {
    if (parentWidget() == owner) {
        return;
    }
    // The window stays where it is, frame included: its position is that of
    // its frame, its size that of its contents.
    const bool shown = isVisible();
    const QPoint framePosition = pos();
    const QSize contents = size();
    setParent(owner, Qt::Window);
    resize(contents);
    move(framePosition);
    setVisible(shown);
    if (auto* dialog = qobject_cast<QDialog*>(owner)) {
        connect(
            dialog, &QDialog::finished, this,
            [this, dialog] {
                QWidget* below = QApplication::activeModalWidget();
                belongTo(below == dialog ? nullptr : below);
            },
            Qt::SingleShotConnection);
    }
}

HelpWindow::HelpWindow() : browser_(new QTextBrowser(this)) {
    setWindowTitle(QStringLiteral("ベルヴォリン ヘルプ"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    browser_->setOpenExternalLinks(true);
    browser_->setSearchPaths({QStringLiteral(":/help")});
    resize(640, 520);
    auto* close = new QShortcut(this);
    close->setKeys(QKeySequence::keyBindings(QKeySequence::Close) << QKeySequence(Qt::Key_Escape));
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

// The first time it opens, the window stands over the main window with its
// whole frame inside the work area; later it stays where the user put it.
// Before it is shown its frame is not known yet: the main window's frame
// tells how much the window manager adds.
void HelpWindow::placeOnce() {
    if (placed_) {
        return;
    }
    placed_ = true;
    QWidget* main = mainWindow();
    const bool mainShown = main && main->isVisible() && !main->isMinimized();
    QMargins decoration;
    if (mainShown) {
        const QRect outer = main->frameGeometry();
        const QRect inner = main->geometry();
        decoration = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                              outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    const QRect area = workArea(main ? main : this);
    const QSize frame = size().grownBy(decoration);
    const QRect over = mainShown ? main->frameGeometry() : QRect();
    move(keepInsideWorkArea(QRect(centredPosition(frame, over, area), frame), area).topLeft());
}

void HelpWindow::showTopic(const QString& topic) {
    QString wanted = topic.isEmpty() ? kContentsTopic : topic;
    const QString name = wanted.mid(wanted.indexOf(QLatin1Char('/')) + 1);
    if (!QFile::exists(QStringLiteral(":/help/") + name)) {
        // A topic that the help does not hold opens the contents instead of
        // an empty window.
        wanted = kContentsTopic;
    }
    topic_ = wanted;
    browser_->setSource(QUrl(QStringLiteral("qrc:/help/") + wanted.mid(3)));
    followModalDialog();
    placeOnce();
    show();
    raise();
    activateWindow();
}

}  // namespace belvorine
