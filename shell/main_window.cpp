#include "shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLocale>
#include <QStackedWidget>

#include "data/order_files.h"
#include "data/order_session.h"
#include "data/order_store.h"
#include "data/settings_file.h"
#include "data/settings_state.h"
#include "entry/working_order.h"
#include "form/form_view.h"
#include "platform/sjis_text.h"
#include "preview/item_property_dialog.h"
#include "preview/layout_undo.h"
#include "preview/preview_window.h"
#include "shell/menu_table.h"
#include "shell/menus.h"
#include "shell/status_bar.h"
#include "shell/tool_bars.h"
#include "widgets/commands.h"
#include "widgets/message_box.h"
#include "widgets/mode_state.h"
#include "widgets/placement.h"

namespace belvorine {
namespace {

// Shown when the exit could not bring the data file and the backup up to
// date, so that the user knows this run's printed lines were not kept.
QString commitRefusedText() {
    return QStringLiteral(
        "データの保存でエラーが発生しました。\n"
        "今回の変更はデータファイルに保存されていません。\n"
        "データファイルは前回終了時の状態のまま残してあります。\n");
}

QString settingsNotSavedText() {
    return QStringLiteral(
        "設定ファイルの保存でエラーが発生しました。\n"
        "今回変更した設定とレイアウトは保存されていません。\n"
        "設定ファイルは前回終了時の状態のまま残してあります。\n");
}

// ERROR No.0005 for a data file that is there but does not read whole.
QString damagedDataFileText() {
    return QStringLiteral(
        " ERROR No.0005\n\nデータファイルが壊れています。\n"
        "バックアップファイルを使用しますか？\n");
}

QString unsavedRowsText(int rows, int dataRows) {
    return QStringLiteral(
               "前回の終了時に保存されなかったデータが残っています。\n"
               "（保存されなかったデータ %1 件、データファイル %2 件）\n\n"
               "このデータを取り込みますか？\n"
               "「いいえ」を選ぶと、このデータは別の名前で残します。")
        .arg(rows)
        .arg(dataRows);
}

// A data file that reads whole but holds fewer rows than the last run left
// in it: said as it is, neither damaged nor missing.
QString fewerRowsText(int dataRows, int lastRows, int backupRows) {
    QLocale grouped(QLocale::C);
    grouped.setNumberOptions(QLocale::DefaultNumberOptions);
    return QStringLiteral(
               "データファイルの行数 (%1) が前回終了時 (%2) より少なくなっています。\n"
               "バックアップ (%3 行) を使いますか？\n\n"
               "使わなかったファイルは、別の名前で残します。")
        .arg(grouped.toString(dataRows), grouped.toString(lastRows), grouped.toString(backupRows));
}

QString setAsideText(SetAside why, const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    switch (why) {
        case SetAside::kDamagedDataFile:
            return QStringLiteral("壊れたデータファイルは使用せずに、次の名前で残しました。\n%1")
                .arg(shown);
        case SetAside::kDamagedNoBackup:
            return QStringLiteral(
                       "データファイルが壊れていて、使用できるバックアップファイルもありません。\n"
                       "壊れたデータファイルは、次の名前で残しました。\n%1\n\n"
                       "既存データのない状態で起動します。")
                .arg(shown);
        case SetAside::kUnusedDataFile:
            return QStringLiteral("使用しなかったデータファイルを、次の名前で残しました。\n%1")
                .arg(shown);
        case SetAside::kUnusedBackup:
            return QStringLiteral(
                       "使用しなかったバックアップファイルを、次の名前で残しました。\n%1")
                .arg(shown);
        case SetAside::kUnsavedWorkFile:
            break;
    }
    return QStringLiteral("保存されなかったデータを、次の名前で残しました。\n%1").arg(shown);
}

QString backupFailedText() {
    return QStringLiteral(
        "バックアップファイルの書き込みでエラーが発生しました。\n"
        "データファイルは保存されています。\n"
        "バックアップファイルは次回の起動時に作り直します。\n");
}

}  // namespace

MainWindow::MainWindow()
    : mainArea_(new QStackedWidget(this)),
      formView_(new FormView(mainArea_)),
      preview_(new PreviewWindow(mainArea_)) {
    setObjectName(QStringLiteral("Belvorine"));
    setWindowTitle(captionText());
    setMainWindow(this);
    buildActions();
    menus_ = std::make_unique<Menus>(this, actions_);
    statusBar_ = new StatusBar(this);
    setStatusBar(statusBar_);
    toolBars_ = new ToolBars(this, actions_, statusBar_);

    mainArea_->addWidget(formView_);
    mainArea_->addWidget(preview_);
    setCentralWidget(mainArea_);
    connect(formView_, &FormView::contextMenuRequested, this,
            [this](const QPoint& at) { menus_->showFormContextMenu(at); });
    connect(formView_, &FormView::renderFailed, this, [this]() { internalErrorExit(formView_); });
    connect(preview_, &PreviewWindow::renderFailed, this,
            [this]() { internalErrorExit(preview_); });
    // A double click or "項目内容編集" opens the frame's property dialog; its
    // OK is one step of the editor's undo history.
    setItemPropertiesHook(
        [this](int item) { runItemPropertyDialog(this, item, [item] { pushLayoutUndo(item); }); });
    connect(preview_, &PreviewWindow::pageChanged, this, &MainWindow::updateButtons);
    connect(preview_, &PreviewWindow::resetFailed, this, &MainWindow::closeAfterError);
    connect(preview_, &PreviewWindow::editStateChanged, this, &MainWindow::updateButtons);
    connect(preview_, &PreviewWindow::positionTextChanged, statusBar_, &StatusBar::setPositionText);
    connect(preview_, &PreviewWindow::positionTextCleared, statusBar_,
            &StatusBar::clearPositionText);
    connect(preview_, &PreviewWindow::contextMenuRequested, this, [this](const QPoint& at) {
        updateButtons();
        menus_->showPreviewContextMenu(at, 1);
    });
    connect(preview_, &PreviewWindow::layoutMenuRequested, this,
            [this](const QPoint& at, int menu) {
                updateButtons();
                menus_->showPreviewContextMenu(at, menu);
            });

    clock_.setInterval(1000);
    connect(&clock_, &QTimer::timeout, statusBar_, &StatusBar::showClock);
    applyMode();
}

MainWindow::~MainWindow() {
    if (mainWindow() == this) {
        setMainWindow(nullptr);
    }
}

QString MainWindow::captionText() {
    return QStringLiteral("ベルヴォリン --- ") +
           fromSjisBuffer(printerSettings(currentFormat()).formatName);
}

QWidget* MainWindow::mainArea() const {
    return mainArea_;
}

QAction* MainWindow::action(int id) const {
    return actions_.value(id);
}

void MainWindow::buildActions() {
    for (int id = kFirstCommand; id <= kLastCommand; ++id) {
        auto* each = new QAction(menuTextOfCommand(id), this);
        each->setData(id);
        each->setShortcutContext(Qt::WindowShortcut);
        connect(each, &QAction::triggered, this, [this, id]() { command(id); });
        actions_.insert(id, each);
        addAction(each);
    }
    action(kCmdDataEntry)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    action(kCmdExistingData)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    action(kCmdPrint)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    action(kCmdUndo)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    action(kCmdHelp)->setShortcut(QKeySequence(Qt::Key_F1));
}

int MainWindow::create() {
    const DataFilePrompts prompts{
        [this](bool damaged) {
            if (!damaged) {
                return askQuestion(this, QStringLiteral("データファイルが見つかりません"), 5) ==
                               kResultYes
                           ? 1
                           : 0;
            }
            QApplication::beep();
            return showMessage({this, QStringLiteral("データファイルが壊れています"),
                                damagedDataFileText(), MessageIcon::Question,
                                MessageButtons::YesNo}) == kResultYes
                       ? 1
                       : 0;
        },
        [this]() { showError(this, QStringLiteral("Error"), 6); },
        [this](int rows, int dataRows) {
            QApplication::beep();
            return showMessage({this, QStringLiteral("保存されなかったデータ"),
                                unsavedRowsText(rows, dataRows), MessageIcon::Question,
                                MessageButtons::YesNo}) == kResultYes
                       ? 1
                       : 0;
        },
        [this](SetAside why, const QString& path) {
            showMessage({this, QStringLiteral("データファイル"), setAsideText(why, path),
                         MessageIcon::Information, MessageButtons::Ok});
        },
        [this](int dataRows, int lastRows, int backupRows) {
            QApplication::beep();
            return showMessage({this, QStringLiteral("データファイル"),
                                fewerRowsText(dataRows, lastRows, backupRows),
                                MessageIcon::Question, MessageButtons::YesNo}) == kResultYes
                       ? 1
                       : 0;
        }};
    const int error = openOrderData(prompts);
    if (error != 0) {
        showError(this, QStringLiteral("Error"), error);
        runExitSequence();
        return 0;
    }
    initialiseWorkingOrder();
    clock_.start();
    statusBar_->showClock();
    refreshViews();
    return 1;
}

void MainWindow::refreshViews() {
    formView_->render();
    preview_->clearSelection();
    // A hidden preview would only hold its page in memory: entering the
    // preview or layout mode draws it.
    const ModeState& mode = modeState();
    if (mode.previewMode == 1 || mode.layoutMode == 1) {
        preview_->render();
    }
}

void MainWindow::showModeView() {
    const ModeState& mode = modeState();
    const bool preview = mode.previewMode == 1 || mode.layoutMode == 1;
    mainArea_->setCurrentWidget(preview ? static_cast<QWidget*>(preview_) : formView_);
}

void MainWindow::applyMode() {
    toolBars_->updateBands();
    showModeView();
    menus_->rebuildForMode();
    updateButtons();
}

void MainWindow::errorExit(int number) {
    showError(this, QStringLiteral("Error"), number);
    closeAfterError();
}

void MainWindow::internalErrorExit(QWidget* over) {
    showError(over, QStringLiteral("Ｅｒｒｏｒ"), 11);
    closeAfterError();
}

void MainWindow::closeAfterError() {
    modeState().previewMode = 0;
    modeState().layoutMode = 0;
    close();
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
}

void MainWindow::runExitSequence() {
    if (exitSequenceDone_) {
        return;
    }
    exitSequenceDone_ = true;
    clock_.stop();
    // The history first: the settings then record only the rows that the
    // data file really holds.
    freeStore();
    const int committed = commitDataFiles();
    const int saved = saveSettings();
    if (committed != kCommitDone) {
        showMessage({this, QStringLiteral("Error"),
                     committed == kCommitRefused ? commitRefusedText() : backupFailedText(),
                     MessageIcon::Error, MessageButtons::Ok});
    }
    if (!saved) {
        showMessage({this, QStringLiteral("Error"), settingsNotSavedText(), MessageIcon::Error,
                     MessageButtons::Ok});
    }
    emit exited();
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
    statusBar_->layoutParts(width());
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
        settings().initialData.showState = isMinimized()   ? kShowMinimised
                                           : isMaximized() ? kShowMaximised
                                                           : kShowRestored;
    }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    const ModeState& mode = modeState();
    if (mode.layoutMode == 1 && event->key() == Qt::Key_Escape && preview_->cancelDrag()) {
        return;
    }
    if (mode.previewMode == 1 || mode.layoutMode == 1) {
        preview_->scrollKey(event->key());
    } else {
        formView_->scrollKey(event->key());
    }
}

void MainWindow::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        return;
    }
    const ModeState& mode = modeState();
    if (mode.previewMode == 1 || mode.layoutMode == 1) {
        preview_->scrollWheel(delta);
    } else {
        formView_->scrollWheel(delta);
    }
}

}  // namespace belvorine
