#pragma once
// Texts and images of the menu items, by command.

#include <QString>

namespace belvorine {

// Menu text `index` (0 to 24) of the menu string table; 23 and 24 are
// the record-keeping commands added beside the original 23.
QString menuText(int index);

struct MenuItemInfo {
    int command = 0;
    int textIndex = -1;
    int imageIndex = -1;    // -1: no image
    bool checkItem = false;  // shows its state by the highlighted image
};

// The owner-drawn item of `command`; textIndex -1 when it has no item.
MenuItemInfo menuItemInfo(int command);

// The text of `command`'s menu item.
QString menuTextOfCommand(int command);

}  // namespace belvorine
