#include "form/scroll_state.h"

#include <algorithm>

#include <Qt>

namespace belvorine {
namespace {

enum class Axis { Horizontal, Vertical };

struct AxisRef {
    std::int32_t& page;
    std::int32_t& limit;
    std::int32_t& position;
    std::int32_t& step;
    std::int32_t unit;
};

AxisRef axis(ScrollState& state, Axis which) {
    if (which == Axis::Horizontal) {
        return {state.horizontalPage, state.horizontalLimit, state.horizontalPosition,
                state.horizontalStep, state.horizontalUnit};
    }
    return {state.verticalPage, state.verticalLimit, state.verticalPosition, state.verticalStep,
            state.verticalUnit};
}

// A page step is at least one unit.
int pageStep(int page) {
    return std::max(page, 1);
}

// Clamps a step so the position stays between 0 and the limit, applies it
// and scrolls the contents.
void applyStep(ScrollSurface& surface, ScrollState& state, Axis which, int step) {
    AxisRef a = axis(state, which);
    step = std::clamp(step, -a.position, std::max(a.limit - a.position, -a.position));
    if (step == 0) {
        return;
    }
    a.position += step;
    a.step = step;
    surface.setScrollBars(state);
    if (which == Axis::Horizontal) {
        surface.scrollContents(-step * a.unit, 0);
    } else {
        surface.scrollContents(0, -step * a.unit);
    }
}

int requestStep(ScrollRequest request, int thumbPosition, const AxisRef& a) {
    switch (request) {
        case ScrollRequest::LineBack:
            return -1;
        case ScrollRequest::LineForward:
            return 1;
        case ScrollRequest::PageBack:
            return -pageStep(a.page);
        case ScrollRequest::PageForward:
            return pageStep(a.page);
        case ScrollRequest::ThumbTrack:
            return thumbPosition - a.position;
        case ScrollRequest::Other:
            break;
    }
    return 0;
}

PixelOffset scrollAxis(ScrollSurface& surface, ScrollState& state, Axis which,
                       ScrollRequest request, int thumbPosition) {
    applyStep(surface, state, which, requestStep(request, thumbPosition, axis(state, which)));
    return scrollOffsets(state);
}

}  // namespace

PixelOffset scrollOffsets(const ScrollState& state) {
    return {state.horizontalPosition * state.horizontalUnit,
            state.verticalPosition * state.verticalUnit};
}

PixelOffset setupScroll(ScrollSurface& surface, ScrollState& state) {
    if (state.horizontalUnit == 0) {
        state.horizontalUnit = 10;
    }
    if (state.verticalUnit == 0) {
        state.verticalUnit = 20;
    }
    state.horizontalPage = state.clientWidth / state.horizontalUnit;
    state.verticalPage = state.clientHeight / state.verticalUnit;
    state.horizontalLimit = std::max(0, state.horizontalExtent - state.horizontalPage + 1);
    state.verticalLimit = std::max(0, state.verticalExtent - state.verticalPage + 1);
    state.horizontalPosition = std::min(state.horizontalPosition, state.horizontalLimit);
    state.verticalPosition = std::min(state.verticalPosition, state.verticalLimit);
    surface.setScrollBars(state);
    return scrollOffsets(state);
}

PixelOffset scrollVertical(ScrollSurface& surface, ScrollRequest request, int thumbPosition,
                           ScrollState& state) {
    return scrollAxis(surface, state, Axis::Vertical, request, thumbPosition);
}

PixelOffset scrollHorizontal(ScrollSurface& surface, ScrollRequest request, int thumbPosition,
                             ScrollState& state) {
    return scrollAxis(surface, state, Axis::Horizontal, request, thumbPosition);
}

PixelOffset scrollByKey(ScrollSurface& surface, int key, ScrollState& state) {
    int horizontal = 0;
    int vertical = 0;
    switch (key) {
        case Qt::Key_PageUp:
            vertical = -pageStep(state.verticalPage);
            break;
        case Qt::Key_PageDown:
            vertical = pageStep(state.verticalPage);
            break;
        case Qt::Key_Home:
            horizontal = -pageStep(state.horizontalPage);
            break;
        case Qt::Key_End:
            horizontal = pageStep(state.horizontalPage);
            break;
        case Qt::Key_Left:
            horizontal = -1;
            break;
        case Qt::Key_Right:
            horizontal = 1;
            break;
        case Qt::Key_Up:
            vertical = -1;
            break;
        case Qt::Key_Down:
            vertical = 1;
            break;
        default:
            break;
    }
    applyStep(surface, state, Axis::Horizontal, horizontal);
    applyStep(surface, state, Axis::Vertical, vertical);
    return scrollOffsets(state);
}

PixelOffset scrollByWheel(ScrollSurface& surface, int delta, int wheelLines, ScrollState& state) {
    applyStep(surface, state, Axis::Vertical, delta > 0 ? -wheelLines : wheelLines);
    return scrollOffsets(state);
}

}  // namespace belvorine
