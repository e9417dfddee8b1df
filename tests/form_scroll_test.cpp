// Scrolling of the form view and the preview.

#include <gtest/gtest.h>

#include <vector>

#include <Qt>

#include "form/scroll_state.h"

using namespace belvorine;

namespace {

class FakeSurface : public ScrollSurface {
public:
    void setScrollBars(const ScrollState& state) override { bars.push_back(state); }
    void scrollContents(int dx, int dy) override { scrolled.push_back({dx, dy}); }
    std::vector<ScrollState> bars;
    std::vector<PixelOffset> scrolled;
};

// A page of 80 × 120 steps of 8 × 16 pixels in a 400 × 320 client.
ScrollState pageState() {
    ScrollState state;
    state.horizontalUnit = 8;
    state.verticalUnit = 16;
    state.horizontalExtent = 80;
    state.verticalExtent = 120;
    state.clientWidth = 400;
    state.clientHeight = 320;
    return state;
}

}  // namespace

TEST(ScrollSetup, PagesAndLimitsFollowTheClientSize) {
    FakeSurface surface;
    ScrollState state = pageState();
    state.verticalPosition = 500;  // beyond the page: lowered to the limit
    const PixelOffset offset = setupScroll(surface, state);
    EXPECT_EQ(state.horizontalPage, 50);
    EXPECT_EQ(state.verticalPage, 20);
    EXPECT_EQ(state.horizontalLimit, 31);
    EXPECT_EQ(state.verticalLimit, 101);
    EXPECT_EQ(state.verticalPosition, 101);
    EXPECT_EQ(offset, (PixelOffset{0, 101 * 16}));
    ASSERT_EQ(surface.bars.size(), 1u);
    EXPECT_TRUE(surface.scrolled.empty());
}

TEST(ScrollSetup, AClientLargerThanThePageHasNothingToScroll) {
    FakeSurface surface;
    ScrollState state = pageState();
    state.clientWidth = 2000;
    state.clientHeight = 4000;
    state.horizontalPosition = 5;
    state.verticalPosition = 7;
    setupScroll(surface, state);
    EXPECT_EQ(state.horizontalLimit, 0);
    EXPECT_EQ(state.verticalLimit, 0);
    EXPECT_EQ(state.horizontalPosition, 0);
    EXPECT_EQ(state.verticalPosition, 0);
    EXPECT_EQ(scrollByKey(surface, Qt::Key_Down, state), (PixelOffset{0, 0}));
    EXPECT_TRUE(surface.scrolled.empty());
}

TEST(ScrollSetup, UnitsOfZeroTakeDefaults) {
    FakeSurface surface;
    ScrollState state;
    state.clientWidth = 100;
    state.clientHeight = 100;
    setupScroll(surface, state);
    EXPECT_EQ(state.horizontalUnit, 10);
    EXPECT_EQ(state.verticalUnit, 20);
}

TEST(ScrollSteps, PageUpNearTheTopIsClampedToTheTop) {
    FakeSurface surface;
    ScrollState state = pageState();
    state.clientHeight = 160;  // a vertical page of 10
    setupScroll(surface, state);
    state.verticalPosition = 2;
    const PixelOffset offset = scrollVertical(surface, ScrollRequest::PageBack, 0, state);
    EXPECT_EQ(state.verticalPosition, 0);
    EXPECT_EQ(state.verticalStep, -2);
    EXPECT_EQ(offset.y, 0);
    ASSERT_EQ(surface.scrolled.size(), 1u);
    EXPECT_EQ(surface.scrolled.back(), (PixelOffset{0, 2 * 16}));  // contents move down
}

TEST(ScrollSteps, ThumbTrackingFollowsTheThumbAndReleasingChangesNothing) {
    FakeSurface surface;
    ScrollState state = pageState();
    setupScroll(surface, state);
    scrollVertical(surface, ScrollRequest::ThumbTrack, 40, state);
    scrollVertical(surface, ScrollRequest::ThumbTrack, 55, state);
    EXPECT_EQ(state.verticalPosition, 55);
    scrollVertical(surface, ScrollRequest::Other, 10, state);
    EXPECT_EQ(state.verticalPosition, 55);
    EXPECT_EQ(surface.scrolled.size(), 2u);
    scrollVertical(surface, ScrollRequest::ThumbTrack, 9999, state);
    EXPECT_EQ(state.verticalPosition, state.verticalLimit);
}

TEST(ScrollSteps, KeysMoveByPagesAndSteps) {
    FakeSurface surface;
    ScrollState state = pageState();
    setupScroll(surface, state);
    scrollByKey(surface, Qt::Key_PageDown, state);
    EXPECT_EQ(state.verticalPosition, 20);
    scrollByKey(surface, Qt::Key_End, state);
    EXPECT_EQ(state.horizontalPosition, 31);  // a page of 50, clamped to the limit
    scrollByKey(surface, Qt::Key_Left, state);
    EXPECT_EQ(state.horizontalPosition, 30);
    scrollByKey(surface, Qt::Key_Home, state);
    EXPECT_EQ(state.horizontalPosition, 0);
    const std::size_t before = surface.scrolled.size();
    scrollByKey(surface, Qt::Key_A, state);
    EXPECT_EQ(surface.scrolled.size(), before);
}

TEST(ScrollSteps, AWheelNotchScrollsTheSystemsLinesWhateverTheDelta) {
    FakeSurface surface;
    ScrollState state = pageState();
    setupScroll(surface, state);
    scrollByWheel(surface, -120, 3, state);
    EXPECT_EQ(state.verticalPosition, 3);
    scrollByWheel(surface, -15, 3, state);  // a fine-grained touchpad delta
    EXPECT_EQ(state.verticalPosition, 6);
    scrollByWheel(surface, 360, 3, state);
    EXPECT_EQ(state.verticalPosition, 3);
}
