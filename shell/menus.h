#pragma once
// The menu bar of five pop-ups, its changes with the main area's mode, and
// the form view's context menu.

#include <QHash>

class QAction;
class QMainWindow;
class QMenu;
class QPoint;

namespace belvorine {

class Menus {
public:
    Menus(QMainWindow* window, const QHash<int, QAction*>& actions);

    // File: preview or end of preview; Options: start or end of layout
    // change; Edit: the four layout commands exactly while in layout mode.
    void rebuildForMode();

    // The check items (tool bar, status bar) show their state by image.
    void updateCheckImages();

    // The form view's context menu at `globalPosition`; the chosen command
    // reaches the main window through its action.
    void showFormContextMenu(const QPoint& globalPosition);

    // The preview's context menus: 1 in the preview, 2 in layout-change mode
    // away from a frame, 3 on a frame. Their entries are greyed as the
    // actions are.
    void showPreviewContextMenu(const QPoint& globalPosition, int menu);

    QMenu* fileMenu() const { return file_; }
    QMenu* editMenu() const { return edit_; }
    QMenu* optionsMenu() const { return options_; }

private:
    QAction* action(int command) const { return actions_.value(command); }
    // Puts `command` at `position` of `menu` in place of what stands there.
    void replaceAt(QMenu* menu, int position, int command);
    // A pop-up of `commands` (0 = separator) at `globalPosition`.
    void popup(std::initializer_list<int> commands, const QPoint& globalPosition);

    const QHash<int, QAction*>& actions_;
    QMenu* file_;
    QMenu* edit_;
    QMenu* options_;
};

}  // namespace belvorine
