#pragma once
// Layout preparation: a frame's screen rectangle from its position on paper,
// and the frame kept inside its format's margin box.
//
// The stored positions (mmRect) are the layout as the user made it. Margins,
// paper and printer only change where frames are drawn (screenRect): a frame
// that lies outside the margin box of the moment is drawn moved or cut into
// it, and comes back to its own place when the box grows again. Only an edit
// of a frame (the layout editor, the item property dialog) stores the
// position it is drawn at.

#include "form/page_geometry.h"
#include "records/records.h"

namespace belvorine {

// The margin box of a page in display pixels: the margins from the paper's
// corner, and the box's extent. Resolutions of 0 count as 600 (printer) and
// 96 (display).
struct MarginBox {
    int left = 0;
    int top = 0;
    long long width = 0;
    long long height = 0;
    int marginLeft = 0;  // the margins themselves, 1/100 mm
    int marginTop = 0;
};
MarginBox marginBoxOf(const PageSettings& page, const PageGeometry& geometry);

// `mm` (1/100 mm from the paper's corner) in display pixels from the
// corner of `box`.
Rect boxPixels(const Rect& mm, const MarginBox& box);

// The rectangle `item` is drawn at in a page with `box`: boxPixels of its
// mmRect, moved back into the box, or cut to the box where it is larger.
Rect placedRect(const LayoutItem& item, const MarginBox& box);

// After an edit of `item`: recomputes its screenRect for `format` (0 or 1)
// and moves or cuts the frame into the margin box, updating both
// rectangles. A frame inside the box keeps its mmRect exactly. Printer
// resolutions of 0 in the format's geometry are replaced by 600 and display
// resolutions of 0 by 96, and stored back.
void prepareLayoutItem(int format, LayoutItem& item);

// After `item`'s frame was moved, resized or edited (with the mouse or in
// the item property dialog): prepares it, gives the rest of its group its
// rectangles and size rule, and sets the point size its rule gives (the
// frame's height in points, or the group's one fit-to-width size).
void prepareEditedFrame(int format, FormLayout& layout, int item);

// The margin box of `format` in display pixels: the room a frame's
// screenRect is kept in (same fallbacks as prepareLayoutItem).
void marginBoxExtent(int format, long long& width, long long& height);

// All 30 items of `layout` for `format`: each screenRect as placedRect
// gives it; the mmRects stay as stored.
void prepareLayout(int format, FormLayout& layout);

// Start-up and after the resets: the start-up and live layouts of both
// formats, then every live item's itemId set to its index.
void prepareAllLayouts();

}  // namespace belvorine
