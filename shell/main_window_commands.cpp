// The main window's command switch and the changes of the main area's mode.

#include <QAction>
#include <QApplication>

#include "archive/archive_issue.h"
#include "archive_search/archive_search_dialog.h"
#include "archive_search/archive_settings_dialog.h"
#include "data/order_store.h"
#include "data/settings_state.h"
#include "entry/company_profile_dialog.h"
#include "entry/data_entry_dialog.h"
#include "entry/existing_data_browser.h"
#include "entry/history_dialogs.h"
#include "form/form_view.h"
#include "form/layout_preparation.h"
#include "preview/layout_undo.h"
#include "preview/preview_window.h"
#include "print/job_watch.h"
#include "print/print_archive.h"
#include "print/print_run.h"
#include "print/printer_list.h"
#include "setup/page_setup_dialog.h"
#include "setup/print_setup_dialog.h"
#include "shell/about_box.h"
#include "shell/main_window.h"
#include "shell/menus.h"
#include "shell/status_bar.h"
#include "shell/tool_bars.h"
#include "widgets/commands.h"
#include "widgets/help.h"
#include "widgets/message_box.h"
#include "widgets/mode_state.h"

namespace belvorine {
namespace {

// The profile frames of both formats may have moved: every item follows its
// mmRect again and both views show the profile.
void editCompanyProfile(MainWindow& window) {
    if (runCompanyProfileDialog(&window) == 1) {
        // An undo entry taken before the profile was registered would write
        // an old frame over it.
        clearLayoutUndo();
    }
    for (int format = 0; format < kFormatCount; ++format) {
        prepareLayout(format, liveLayout(format));
    }
    window.refreshViews();
}

}  // namespace

void MainWindow::command(int id) {
    ++commandDepth_;
    runCommand(id);
    --commandDepth_;
    if (commandDepth_ == 0 && exitRequested_) {
        closeAfterError();
    }
}

void MainWindow::requestExit() {
    exitRequested_ = true;
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->close();
    }
    if (commandDepth_ == 0) {
        closeAfterError();
    }
}

void MainWindow::runCommand(int id) {
    switch (id) {
        case kCmdPreview:
            enterPreview();
            break;
        case kCmdPrint:
            print();
            break;
        case kCmdExit:
            confirmExit();
            break;
        case kCmdDataEntry:
            dataEntry();
            break;
        case kCmdCompanyProfile:
            editCompanyProfile(*this);
            break;
        case kCmdExistingData:
            editHistory();
            break;
        case kCmdToolbar:
            toggleToolbar();
            break;
        case kCmdStatusBar:
            toggleStatusBar();
            break;
        case kCmdSwitchFormat:
            switchFormat();
            break;
        case kCmdLayoutStart:
            enterLayoutMode();
            break;
        case kCmdHelp:
            openHelp();
            break;
        case kCmdPrintSetup:
            if (runPrintSetupDialog(this) == 1) {
                setupAccepted();
            }
            break;
        case kCmdPageSetup:
            // New fonts or options: the frames stay where they are, so the
            // layout editor's history stays valid.
            if (runPageSetupDialog(this) == 1) {
                modeState().previewPage = 1;
                refreshViews();
            }
            setWindowTitle(captionText());
            updateButtons();
            break;
        case kCmdAbout:
            showAboutBox(this);
            break;
        case kCmdArchiveSearch:
            runArchiveSearchDialog(this);
            break;
        case kCmdArchiveSettings:
            runArchiveSettingsDialog(this);
            break;
        case kCmdPreviewEnd:
            leavePreview();
            break;
        case kCmdLayoutEnd:
            leaveLayoutMode();
            break;
        case kCmdPreviousPage:
        case kCmdNextPage:
            if (modeState().previewMode == 1 || modeState().layoutMode == 1) {
                id == kCmdPreviousPage ? preview_->previousPage() : preview_->nextPage();
            }
            break;
        case kCmdZoomOut:
            zoom(-kZoomStep);
            break;
        case kCmdZoomIn:
            zoom(kZoomStep);
            break;
        case kCmdLeaveMode:
            leaveMode();
            break;
        case kCmdResetToStartup:
        case kCmdResetToFactory:
            preview_->command(id);
            // The format's name is among what was restored.
            setWindowTitle(captionText());
            break;
        case kCmdEditItem:
        case kCmdUndo:
        case kCmdZoomDialog:
            preview_->command(id);
            break;
        default:
            break;
    }
}

void MainWindow::updateButtons() {
    const ModeState& mode = modeState();
    const PageSettings& print = printerSettings(currentFormat());
    const int zoom = settings().initialData.zoomPercent;
    const bool previewOrLayout = mode.previewMode == 1 || mode.layoutMode == 1;
    action(kCmdPreview)->setEnabled(!previewOrLayout);
    action(kCmdLayoutStart)->setEnabled(mode.layoutMode != 1);
    action(kCmdPreviousPage)->setEnabled(mode.previewPage != 1);
    action(kCmdNextPage)
        ->setEnabled(print.orderAndCopyOnOneSheet != 1 &&
                     mode.previewPage < PreviewWindow::lastPage());
    action(kCmdZoomOut)->setEnabled(zoom != kMinimumZoom);
    action(kCmdZoomIn)->setEnabled(zoom != kMaximumZoom);
    // Derived from the layout editor wherever the buttons are refreshed, so
    // that a zoom or a page change never switches Ctrl+Z off while there is
    // something to undo.
    const bool layoutMode = mode.layoutMode == 1;
    action(kCmdUndo)->setEnabled(layoutMode && layoutUndoCount() > 0);
    action(kCmdEditItem)->setEnabled(layoutMode && selectedLayoutItem() >= 0);
    action(kCmdResetToStartup)->setEnabled(layoutMode && layoutChanged(currentFormat()));
    action(kCmdResetToFactory)->setEnabled(layoutMode);
}

void MainWindow::enterPreview() {
    ModeState& mode = modeState();
    if (mode.layoutMode == 1) {
        return;
    }
    mode.previewMode = 1;
    mode.previewPage = 1;
    preview_->render();
    applyMode();
    preview_->setFocus();
}

void MainWindow::leavePreview() {
    ModeState& mode = modeState();
    if (mode.layoutMode == 1) {
        return;
    }
    mode.previewPage = 1;
    mode.previewMode = 0;
    applyMode();
    formView_->setFocus();
}

void MainWindow::enterLayoutMode() {
    if (!loadStore()) {
        errorExit(2);
        return;
    }
    ModeState& mode = modeState();
    mode.layoutMode = 1;
    mode.previewPage = 1;
    preview_->resetEditor();
    preview_->render();
    applyMode();
    preview_->setFocus();
}

void MainWindow::leaveLayoutMode() {
    ModeState& mode = modeState();
    mode.layoutMode = 0;
    mode.previewPage = 1;
    preview_->clearSelection();
    statusBar_->clearPositionText();
    if (mode.previewMode == 1) {
        preview_->render();
    } else {
        refreshViews();
    }
    applyMode();
}

void MainWindow::leaveMode() {
    const ModeState& mode = modeState();
    if (mode.layoutMode == 1) {
        leaveLayoutMode();
    } else if (mode.previewMode == 1) {
        leavePreview();
    } else {
        menus_->rebuildForMode();
    }
}

void MainWindow::switchFormat() {
    InitialData& data = settings().initialData;
    data.formatIndex = 1 - currentFormat();
    selectedCounterparty().clear();
    modeState().previewPage = 1;
    preview_->resetEditor();
    // No frame of the new format is selected.
    statusBar_->clearPositionText();
    refreshViews();
    updateButtons();
    setWindowTitle(captionText());
}

void MainWindow::setupAccepted() {
    // The paper or the margins changed under the layout editor's history,
    // whose entries would put frames back for the old page.
    clearLayoutUndo();
    refreshViews();
}

void MainWindow::zoom(int delta) {
    std::int32_t& zoom = settings().initialData.zoomPercent;
    if (delta < 0) {
        zoom = zoom < kMinimumZoom + kZoomStep ? kMinimumZoom : zoom + delta;
    } else {
        zoom = std::min(zoom + delta, kMaximumZoom);
    }
    updateButtons();
    preview_->render();
}

void MainWindow::toggleToolbar() {
    ModeState& mode = modeState();
    mode.toolbarVisible = mode.toolbarVisible == 1 ? 0 : 1;
    toolBars_->updateBands();
    menus_->updateCheckImages();
}

void MainWindow::toggleStatusBar() {
    ModeState& mode = modeState();
    mode.statusBarVisible = mode.statusBarVisible == 1 ? 0 : 1;
    statusBar_->setVisible(mode.statusBarVisible == 1);
    menus_->updateCheckImages();
}

void MainWindow::dataEntry() {
    if (!loadStore()) {
        errorExit(2);
        return;
    }
    orderEntered() = 1;
    installHistoryDialogs();
    runDataEntryDialog(this);
    refreshViews();
}

// The browser changes the store in memory. OK writes only its edits (not
// the current order, which reaches the history when it is printed); cancel
// drops them by reloading the working file before anything uses the store.
void MainWindow::editHistory() {
    if (!loadStore()) {
        errorExit(2);
        return;
    }
    orderEntered() = 1;
    if (editExistingData(this) == 1 && !writeStore()) {
        errorExit(3);
        return;
    }
    if (!loadStore()) {
        errorExit(2);
        return;
    }
    refreshViews();
}

void MainWindow::print() {
    IssuedDocument issued;
    const int result = runPrint(this, &issued);
    if (result == kPrintDone) {
        const PrinterEntry& printer = printerEntry(printerSettings(currentFormat()).printerIndex);
        if (!printer.pdf) {
            jobWatch_->watch(printer.name, QString::fromLatin1(kJobTitle));
        }
        // The history first, then the archive: neither waits for the other's
        // failure, and a failed history still has its document kept.
        const bool stored = orderEntered() != 1 || appendCurrentOrder();
        keepIssuedDocument(this, issued);
        if (!stored) {
            errorExit(3);
            return;
        }
    } else if (result == kPrintFailed) {
        errorExit(4);
        return;
    }
    // A longer counterparty widens every addressee line of the format.
    refreshViews();
}

void MainWindow::openHelp() {
    const QString topic =
        modeState().layoutMode == 1 ? QStringLiteral("::/layout.html") : QString();
    htmlHelp(this, helpFilePath() + topic, HelpCommand::DisplayContents);
}

void MainWindow::confirmExit() {
    const int answer =
        showMessage({this, QStringLiteral("終了確認"), QStringLiteral("終了しますか？"),
                     MessageIcon::Question, MessageButtons::OkCancel});
    if (answer == kResultOk) {
        modeState().previewMode = 0;
        modeState().layoutMode = 0;
        close();
    }
}

}  // namespace belvorine
