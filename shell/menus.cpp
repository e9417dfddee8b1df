#include "shell/menus.h"

#include <QAction>
#include <QFrame>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include "shell/command_icons.h"
#include "widgets/commands.h"
#include "widgets/mode_state.h"

namespace belvorine {
namespace {

constexpr int kSeparator = 0;
constexpr int kLayoutCommands[] = {kCmdUndo, kCmdEditItem, kCmdResetToStartup, kCmdResetToFactory};

QMenu* addPopup(QMenuBar* bar, const char* title, std::initializer_list<QAction*> items) {
    QMenu* menu = bar->addMenu(QString::fromUtf8(title));
    for (QAction* item : items) {
        menu->addAction(item);
    }
    return menu;
}

}  // namespace

Menus::Menus(QMainWindow* window, const QHash<int, QAction*>& actions) : actions_(actions) {
    // The menu bar with the sunken line that separates it from the tool bars.
    auto* top = new QWidget(window);
    auto* layout = new QVBoxLayout(top);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QMenuBar(top);
    layout->addWidget(bar);
    auto* line = new QFrame(top);
    line->setObjectName(QStringLiteral("TopLine"));
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setFixedHeight(2);
    layout->addWidget(line);
    window->setMenuWidget(top);

    file_ = addPopup(
        bar, "ファイル(&F)",
        {action(kCmdPrintSetup), action(kCmdPreview), action(kCmdPrint), action(kCmdArchiveSearch),
         action(kCmdArchiveSettings), action(kCmdExit)});
    edit_ = addPopup(bar, "編集(&E)",
                     {action(kCmdDataEntry), action(kCmdExistingData), action(kCmdCompanyProfile)});
    addPopup(bar, "表示(&V)", {action(kCmdToolbar), action(kCmdStatusBar)});
    options_ = addPopup(bar, "オプション(&O)",
                        {action(kCmdSwitchFormat), action(kCmdPageSetup), action(kCmdLayoutStart)});
    addPopup(bar, "ﾍﾙﾌﾟ(&H)", {action(kCmdHelp), action(kCmdAbout)});

    for (QAction* each : actions_) {
        each->setIcon(commandIcon(each->data().toInt()));
        each->setToolTip(toolTipText(each->data().toInt()));
    }
    updateCheckImages();
}

void Menus::replaceAt(QMenu* menu, int position, int command) {
    const QList<QAction*> items = menu->actions();
    QAction* wanted = action(command);
    if (position < items.size() && items[position] == wanted) {
        return;
    }
    QAction* before = position + 1 < items.size() ? items[position + 1] : nullptr;
    if (position < items.size()) {
        menu->removeAction(items[position]);
    }
    menu->insertAction(before, wanted);
}

void Menus::rebuildForMode() {
    const ModeState& mode = modeState();
    const bool layoutMode = mode.layoutMode == 1;

    replaceAt(file_, 1, mode.previewMode == 1 ? kCmdPreviewEnd : kCmdPreview);
    action(kCmdPreview)->setEnabled(!layoutMode && mode.previewMode != 1);
    action(kCmdPreviewEnd)->setEnabled(!layoutMode);

    replaceAt(options_, 2, layoutMode ? kCmdLayoutEnd : kCmdLayoutStart);

    for (int command : kLayoutCommands) {
        edit_->removeAction(action(command));
    }
    const QList<QAction*> items = edit_->actions();
    if (!items.isEmpty() && items.first()->isSeparator()) {
        edit_->removeAction(items.first());
    }
    if (layoutMode) {
        QAction* first = edit_->actions().value(0);
        for (int command : kLayoutCommands) {
            edit_->insertAction(first, action(command));
        }
        edit_->insertSeparator(first);
        // The layout editor enables them once there is something to act on.
        action(kCmdResetToStartup)->setEnabled(false);
        action(kCmdEditItem)->setEnabled(false);
        action(kCmdUndo)->setEnabled(false);
    }
}

void Menus::updateCheckImages() {
    action(kCmdToolbar)->setIcon(commandIcon(kCmdToolbar, modeState().toolbarVisible == 1));
    action(kCmdStatusBar)->setIcon(commandIcon(kCmdStatusBar, modeState().statusBarVisible == 1));
}

void Menus::popup(std::initializer_list<int> commands, const QPoint& globalPosition) {
    QMenu menu;
    for (int command : commands) {
        if (command == kSeparator) {
            menu.addSeparator();
        } else {
            menu.addAction(action(command));
        }
    }
    menu.exec(globalPosition);
}

void Menus::showFormContextMenu(const QPoint& globalPosition) {
    popup({kCmdPrintSetup, kCmdPreview, kCmdPrint, kSeparator, kCmdDataEntry, kCmdExistingData,
           kCmdCompanyProfile, kSeparator, kCmdSwitchFormat, kCmdPageSetup, kCmdLayoutStart,
           kSeparator, kCmdHelp, kSeparator, kCmdExit},
          globalPosition);
}

void Menus::showPreviewContextMenu(const QPoint& globalPosition, int menu) {
    if (menu == 3) {
        popup({kCmdEditItem, kCmdLayoutEnd, kSeparator, kCmdExit}, globalPosition);
    } else if (menu == 2) {
        popup({kCmdPreviousPage, kCmdNextPage, kCmdZoomDialog, kSeparator, kCmdUndo,
               kCmdResetToStartup, kCmdResetToFactory, kSeparator, kCmdLayoutEnd, kCmdExit},
              globalPosition);
    } else {
        popup({kCmdPreviousPage, kCmdNextPage, kCmdZoomDialog, kSeparator, kCmdPreviewEnd,
               kSeparator, kCmdExit},
              globalPosition);
    }
}

}  // namespace belvorine
