// Layout preparation: a frame's screen rectangle, and frames brought back
// into the margin box by moving or cutting them.

#include <gtest/gtest.h>

#include "data/settings_state.h"
#include "form/layout_preparation.h"
#include "form/page_geometry.h"
#include "form/units.h"
#include "platform/screen_metrics.h"

namespace belvorine {
namespace {

// A4 at 600 dpi, 5 mm margins, a 96 dpi display: the margin box starts 19
// pixels from the paper's corner and is 755 x 1084 pixels.
class LayoutPreparation : public ::testing::Test {
protected:
    void SetUp() override {
        resetSettingsStateForTesting();
        screenMetrics().dpiX = 96;
        screenMetrics().dpiY = 96;
        for (int format = 0; format < kFormatCount; ++format) {
            PageGeometry& geometry = printerGeometry(format);
            geometry = PageGeometry();
            geometry.resolutionX = 600;
            geometry.resolutionY = 600;
            geometry.paperWidth = 4960;
            geometry.paperHeight = 7016;
            PageSettings& page = printerSettings(format);
            page.marginLeft = {0, 500, 5000};
            page.marginRight = {0, 500, 5000};
            page.marginTop = {0, 500, 5000};
            page.marginBottom = {0, 500, 5000};
        }
    }
    void TearDown() override {
        resetSettingsStateForTesting();
        screenMetrics() = ScreenMetrics();
    }

    static LayoutItem frame(int left, int top, int right, int bottom) {
        LayoutItem item;
        item.mmRect = Rect{left, top, right, bottom};
        return item;
    }

    static constexpr int kBoxWidth = 755;
    static constexpr int kBoxHeight = 1084;
};

TEST_F(LayoutPreparation, FrameInsideTheBoxKeepsItsPositionExactly) {
    LayoutItem item = frame(7000, 1000, 14000, 2000);
    prepareLayoutItem(0, item);
    EXPECT_EQ(item.mmRect, (Rect{7000, 1000, 14000, 2000}));
    EXPECT_EQ(item.screenRect, (Rect{246, 19, 510, 57}));
}

TEST_F(LayoutPreparation, FramePastTheLeftMarginMovesBackKeepingItsWidth) {
    // Dragged 10 mm past the 5 mm margin.
    LayoutItem item = frame(-500, 1000, 6500, 2000);
    const int pixelWidth = toPixels(6500, 96) - toPixels(-500, 96);
    prepareLayoutItem(0, item);
    EXPECT_EQ(item.screenRect.left, 0);
    EXPECT_EQ(item.screenRect.width(), pixelWidth);
    EXPECT_EQ(item.mmRect.left, 500);
    EXPECT_EQ(item.mmRect.right, toHundredthsMm(pixelWidth, 96) + 500);
    EXPECT_EQ(item.mmRect.top, 1000);  // the other axis is untouched
}

TEST_F(LayoutPreparation, FrameWiderThanTheBoxIsCutToIt) {
    LayoutItem item = frame(0, 1000, 25000, 2000);
    prepareLayoutItem(0, item);
    EXPECT_EQ(item.screenRect.left, 0);
    EXPECT_EQ(item.screenRect.right, kBoxWidth);
    EXPECT_EQ(item.mmRect.left, 500);
    EXPECT_EQ(item.mmRect.right, toHundredthsMm(kBoxWidth, 96) + 500);
}

TEST_F(LayoutPreparation, FramePastTheRightEdgeMovesLeft) {
    LayoutItem item = frame(18000, 1000, 22000, 2000);
    prepareLayoutItem(0, item);
    EXPECT_EQ(item.screenRect.right, kBoxWidth);
    EXPECT_EQ(item.screenRect.width(), 151);
    EXPECT_EQ(item.mmRect.left, toHundredthsMm(kBoxWidth - 151, 96) + 500);
    EXPECT_EQ(item.mmRect.right, toHundredthsMm(kBoxWidth, 96) + 500);
}

TEST_F(LayoutPreparation, FrameStartingInsideButTooWideIsCut) {
    // Left edge 10 pixels into the box, right edge 145 pixels past it.
    LayoutItem item = frame(767, 1000, 24315, 2000);
    prepareLayoutItem(0, item);
    EXPECT_EQ(item.screenRect.left, 0);
    EXPECT_EQ(item.screenRect.right, kBoxWidth);
    EXPECT_EQ(item.mmRect.left, 500);
}

TEST_F(LayoutPreparation, FrameBelowThePageMovesUp) {
    LayoutItem item = frame(1000, 29000, 2000, 31000);
    prepareLayoutItem(0, item);
    EXPECT_EQ(item.screenRect.bottom, kBoxHeight);
    EXPECT_EQ(item.screenRect.height(), toPixels(31000, 96) - toPixels(29000, 96));
    EXPECT_EQ(item.mmRect.bottom, toHundredthsMm(kBoxHeight, 96) + 500);
    EXPECT_EQ(item.mmRect.left, 1000);
}

TEST_F(LayoutPreparation, UsesTheFormatsOwnMargins) {
    printerSettings(1).marginLeft.value = 2000;
    LayoutItem item = frame(1000, 1000, 3000, 2000);
    prepareLayoutItem(1, item);
    EXPECT_EQ(item.mmRect.left, 2000);
    LayoutItem same = frame(1000, 1000, 3000, 2000);
    prepareLayoutItem(0, same);
    EXPECT_EQ(same.mmRect.left, 1000);
}

TEST_F(LayoutPreparation, ZeroResolutionsAreReplacedAndStored) {
    printerGeometry(0).resolutionX = 0;
    printerGeometry(0).resolutionY = 0;
    screenMetrics().dpiX = 0;
    screenMetrics().dpiY = 0;
    LayoutItem item = frame(7000, 1000, 14000, 2000);
    prepareLayoutItem(0, item);
    EXPECT_EQ(printerGeometry(0).resolutionX, 600);
    EXPECT_EQ(printerGeometry(0).resolutionY, 600);
    EXPECT_EQ(screenMetrics().dpiX, 96);
    EXPECT_EQ(screenMetrics().dpiY, 96);
    EXPECT_EQ(item.screenRect, (Rect{246, 19, 510, 57}));
}

TEST_F(LayoutPreparation, AllLayoutsArePlacedInTheBoxKeepingTheirStoredPositions) {
    for (int format = 0; format < kFormatCount; ++format) {
        for (int i = 0; i < kLayoutItemCount; ++i) {
            settings().startupLayout[format][i] = frame(-500, 1000, 6500, 2000);
            liveLayout(format)[i] = frame(7000, 1000, 14000, 2000);
            liveLayout(format)[i].itemId = 99;
        }
    }
    prepareAllLayouts();
    for (int format = 0; format < kFormatCount; ++format) {
        for (int i = 0; i < kLayoutItemCount; ++i) {
            // Drawn at the box's edge; stored where the user left it.
            EXPECT_EQ(settings().startupLayout[format][i].screenRect.left, 0);
            EXPECT_EQ(settings().startupLayout[format][i].mmRect.left, -500);
            EXPECT_EQ(liveLayout(format)[i].screenRect, (Rect{246, 19, 510, 57}));
            EXPECT_EQ(liveLayout(format)[i].itemId, i);
        }
    }
}

}  // namespace
}  // namespace belvorine
