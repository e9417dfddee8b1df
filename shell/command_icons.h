#pragma once
// The icon of each command: its normal image, and its highlighted image for
// the mouse-over look of tool buttons and selected menu items.

#include <QIcon>

namespace belvorine {

// `checked` shows a check item's state: a checked item shows its
// highlighted image. A null icon for commands without an image.
QIcon commandIcon(int command, bool checked = false);

// The text of a command's tool-bar tooltip; empty when it has none.
QString toolTipText(int command);

}  // namespace belvorine
