#pragma once
// Scrolling of the form view and the preview: positions in steps of a unit
// (a character's width or height), clamped to the page's extent.

#include <cstdint>

namespace belvorine {

struct ScrollState {
    std::int32_t horizontalPage = 0;    // visible width in units
    std::int32_t verticalPage = 0;
    std::int32_t horizontalExtent = 0;  // scrollable width in units
    std::int32_t verticalExtent = 0;
    std::int32_t horizontalUnit = 0;    // pixels per step
    std::int32_t verticalUnit = 0;
    std::int32_t horizontalLimit = 0;   // largest position
    std::int32_t verticalLimit = 0;
    std::int32_t horizontalPosition = 0;
    std::int32_t verticalPosition = 0;
    std::int32_t horizontalStep = 0;    // last step applied
    std::int32_t verticalStep = 0;
    std::int32_t clientWidth = 0;       // pixels
    std::int32_t clientHeight = 0;
};
static_assert(sizeof(ScrollState) == 14 * 4);

// What the scroll routines need from a window: its scroll bars and its
// contents.
class ScrollSurface {
public:
    virtual ~ScrollSurface() = default;
    // Shows the state's extents, pages and positions on the scroll bars.
    virtual void setScrollBars(const ScrollState& state) = 0;
    // Moves the window's contents by (dx, dy) pixels; the uncovered part is
    // painted again from the view's bitmap.
    virtual void scrollContents(int dx, int dy) = 0;
};

struct PixelOffset {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelOffset&, const PixelOffset&) = default;
};

// Requests of a scroll bar.
enum class ScrollRequest {
    LineBack,     // line up / left
    LineForward,  // line down / right
    PageBack,
    PageForward,
    ThumbTrack,   // dragging the thumb: goes to the thumb's position
    Other         // thumb released, top, bottom, end of scrolling: nothing
};

// The pixel offsets of the current positions.
PixelOffset scrollOffsets(const ScrollState& state);

// Recomputes pages and limits from the client size and the units (units of
// 0 become 10 and 20), lowers positions above their limits and updates the
// scroll bars.
PixelOffset setupScroll(ScrollSurface& surface, ScrollState& state);

PixelOffset scrollVertical(ScrollSurface& surface, ScrollRequest request, int thumbPosition,
                           ScrollState& state);
PixelOffset scrollHorizontal(ScrollSurface& surface, ScrollRequest request, int thumbPosition,
                             ScrollState& state);

// Page Up/Down scroll by a page vertically, Home/End by a page horizontally,
// the arrow keys by one step. `key` is a Qt::Key value.
PixelOffset scrollByKey(ScrollSurface& surface, int key, ScrollState& state);

// A wheel turn away from the user (delta > 0) scrolls up by `wheelLines`
// steps, towards the user down, whatever the size of the delta.
PixelOffset scrollByWheel(ScrollSurface& surface, int delta, int wheelLines, ScrollState& state);

}  // namespace belvorine
