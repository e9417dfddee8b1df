#include "shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QMenuBar>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "data/settings_state.h"
#include "platform/sjis_text.h"
#include "shell/about_box.h"
#include "shell/commands.h"
#include "shell/help.h"
#include "shell/menu_table.h"
#include "shell/message_box.h"
#include "shell/mode_state.h"
#include "shell/placement.h"

namespace belvorine {

MainWindow::MainWindow() : mainArea_(new QStackedWidget(this)) {
    setObjectName(QStringLiteral("Belvorine"));
    setWindowTitle(captionText());
    setCentralWidget(mainArea_);
    buildActions();
    buildMenuBar();
    setMainWindow(this);
}

MainWindow::~MainWindow() = default;

QString MainWindow::captionText() {
    return QStringLiteral("ベルヴォリン --- ") +
           fromSjisBuffer(printerSettings(currentFormat()).formatName);
}

int MainWindow::create() {
    return 1;
}

QAction* MainWindow::action(int id) const {
    return actions_.value(id);
}

void MainWindow::buildActions() {
    for (int id = kFirstCommand; id <= kLastCommand; ++id) {
        auto* action = new QAction(menuTextOfCommand(id), this);
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id]() { command(id); });
        actions_.insert(id, action);
    }
    // Accelerators of the main window.
    action(kCmdDataEntry)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    action(kCmdExistingData)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    action(kCmdPrint)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    action(kCmdUndo)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    action(kCmdHelp)->setShortcut(QKeySequence(Qt::Key_F1));
    for (QAction* each : std::as_const(actions_)) {
        each->setShortcutContext(Qt::WindowShortcut);
        addAction(each);
    }
}

void MainWindow::buildMenuBar() {
    // The line under the menu bar that separates it from the tool bars.
    auto* top = new QWidget(this);
    auto* layout = new QVBoxLayout(top);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QMenuBar(top);
    layout->addWidget(bar);
    auto* line = new QFrame(top);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setFixedHeight(2);
    layout->addWidget(line);
    setMenuWidget(top);

    struct Popup {
        const char* title;
        std::initializer_list<int> commands;
    };
    const Popup popups[] = {
        {"ファイル(&F)", {kCmdPrintSetup, kCmdPreview, kCmdPrint, kCmdExit}},
        {"編集(&E)", {kCmdDataEntry, kCmdExistingData, kCmdCompanyProfile}},
        {"表示(&V)", {kCmdToolbar, kCmdStatusBar}},
        {"オプション(&O)", {kCmdSwitchFormat, kCmdPageSetup, kCmdLayoutStart}},
        {"ﾍﾙﾌﾟ(&H)", {kCmdHelp, kCmdAbout}},
    };
    for (const Popup& popup : popups) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(popup.title));
        for (int id : popup.commands) {
            menu->addAction(action(id));
        }
    }
}

void MainWindow::command(int id) {
    switch (id) {
        case kCmdExit:
            confirmExit();
            break;
        case kCmdHelp:
            openHelp();
            break;
        case kCmdAbout:
            showAboutBox(this);
            break;
        default:
            break;
    }
}

void MainWindow::openHelp() {
    const QString topic =
        modeState().layoutMode == 1 ? QStringLiteral("::/layout.html") : QString();
    htmlHelp(this, helpFilePath() + topic, HelpCommand::DisplayContents);
}

void MainWindow::confirmExit() {
    const int answer = showMessage({this, QStringLiteral("終了確認"), QStringLiteral("終了しますか？"),
                                    MessageIcon::Question, MessageButtons::OkCancel});
    if (answer == kResultOk) {
        modeState().previewMode = 0;
        modeState().layoutMode = 0;
        close();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (modeState().previewMode == 1 || modeState().layoutMode == 1) {
        // Closing in a mode only leaves the mode.
        event->ignore();
        command(kCmdLeaveMode);
        return;
    }
    runExitSequence();
    event->accept();
    QCoreApplication::exit(0);
}

void MainWindow::runExitSequence() {
    if (exitSequenceDone_) {
        return;
    }
    exitSequenceDone_ = true;
}

void MainWindow::rememberGeometry() {
    InitialData& data = settings().initialData;
    const QRect frame = frameGeometry();
    data.windowX = frame.x();
    data.windowY = frame.y();
    data.windowWidth = width();
    data.windowHeight = height();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    InitialData& data = settings().initialData;
    data.showState = kShowRestored;
    if (isMinimized()) {
        data.showState = kShowMinimised;
    } else if (isMaximized()) {
        data.showState = kShowMaximised;
    } else if (!isFullScreen()) {
        rememberGeometry();
    }
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (!isMinimized() && !isMaximized() && !isFullScreen()) {
        rememberGeometry();
    }
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        InitialData& data = settings().initialData;
        data.showState = isMinimized()   ? kShowMinimised
                         : isMaximized() ? kShowMaximised
                                         : kShowRestored;
    }
}

}  // namespace belvorine
