#include "shell/help_window.h"

#include <QFile>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace belvorine {
namespace {

const QString kContentsTopic = QStringLiteral("::/index.html");

}  // namespace

HelpWindow* HelpWindow::instance() {
    static HelpWindow* window = nullptr;
    if (!window) {
        window = new HelpWindow();
        window->setAttribute(Qt::WA_QuitOnClose, false);
    }
    return window;
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
    show();
    raise();
    activateWindow();
}

}  // namespace belvorine
