#pragma once
// Layout preparation: a frame's screen rectangle from its position on paper,
// and the frame kept inside its format's margin box.

#include "records/records.h"

namespace belvorine {

// Recomputes `item.screenRect` from `item.mmRect` for `format` (0 or 1) and
// moves the frame back into the margin box, or cuts it to the box where it
// is larger, updating both rectangles. A frame inside the box keeps its
// mmRect exactly. Printer resolutions of 0 in the format's geometry are
// replaced by 600 and display resolutions of 0 by 96, and stored back.
void prepareLayoutItem(int format, LayoutItem& item);

// After `item`'s frame was moved, resized or edited (with the mouse or in
// the item property dialog): prepares it, gives the rest of its group its
// rectangles and size rule, and sets the point size its rule gives (the
// frame's height in points, or the group's one fit-to-width size).
void prepareEditedFrame(int format, FormLayout& layout, int item);

// The margin box of `format` in display pixels: the room a frame's
// screenRect is kept in (same fallbacks as prepareLayoutItem).
void marginBoxExtent(int format, long long& width, long long& height);

// All 30 items of `layout` for `format`.
void prepareLayout(int format, FormLayout& layout);

// Start-up and after the resets: the start-up and live layouts of both
// formats, then every live item's itemId set to its index.
void prepareAllLayouts();

}  // namespace belvorine
