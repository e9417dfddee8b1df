#include "widgets/help_window.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

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
    const bool shown = isVisible();
    const QRect placed = geometry();
    setParent(owner, Qt::Window);
    setGeometry(placed);
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
    show();
    raise();
    activateWindow();
}

}  // namespace belvorine
