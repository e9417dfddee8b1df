#pragma once
// The context help map: which pop-up text belongs to which dialog control.

#include <utility>
#include <vector>

namespace belvorine {

inline constexpr int kSharedHelpId = 12000;

// The 283 (control id, help id) pairs followed by the terminating (0, 0).
const std::vector<std::pair<int, int>>& contextHelpMap();

// Help id of a control by the map; 0 when the control has none.
int helpIdForControl(int controlId);

}  // namespace belvorine
