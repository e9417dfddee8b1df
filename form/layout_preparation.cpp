#include "form/layout_preparation.h"

#include "data/layout_model.h"
#include "data/settings_state.h"
#include "form/page_geometry.h"
#include "form/text_fitting.h"
#include "form/units.h"
#include "platform/screen_metrics.h"

namespace belvorine {
namespace {

// One axis of a frame: its screen edges, its paper edges, the margin box's
// extent in pixels, the leading margin in 1/100 mm and the resolution.
void keepInsideBox(std::int32_t& low, std::int32_t& high, std::int32_t& mmLow, std::int32_t& mmHigh,
                   long long box, int margin, int dpi) {
    const long long lo = low;
    const long long hi = high;
    const int boxEdge = clampToInt(box);
    if (lo <= 0) {
        mmLow = margin;
        low = 0;
        if (hi - lo <= box) {
            high = clampToInt(hi - lo);  // moved to the box's edge, same size
        } else {
            high = boxEdge;  // cut to the box
        }
        mmHigh = clampToInt(static_cast<long long>(toHundredthsMm(high, dpi)) + margin);
    } else if (hi > box) {
        if (lo >= hi - box) {
            // Moved back until its far edge is on the box's edge.
            low = clampToInt(lo - (hi - box));
            mmLow = clampToInt(static_cast<long long>(toHundredthsMm(low, dpi)) + margin);
        } else {
            low = 0;
            mmLow = margin;
        }
        high = boxEdge;
        mmHigh = clampToInt(static_cast<long long>(toHundredthsMm(boxEdge, dpi)) + margin);
    }
}

}  // namespace

void marginBoxExtent(int format, long long& width, long long& height) {
    PageGeometry& geometry = printerGeometry(format);
    if (geometry.resolutionX == 0) {
        geometry.resolutionX = kDefaultPrinterDpi;
    }
    if (geometry.resolutionY == 0) {
        geometry.resolutionY = kDefaultPrinterDpi;
    }
    ScreenMetrics& screen = screenMetrics();
    if (screen.dpiX == 0) {
        screen.dpiX = kDefaultDisplayDpi;
    }
    if (screen.dpiY == 0) {
        screen.dpiY = kDefaultDisplayDpi;
    }
    const int dX = screen.dpiX;
    const int dY = screen.dpiY;
    const PageSettings& page = printerSettings(format);
    width = static_cast<long long>(geometry.paperWidth) * dX / geometry.resolutionX -
            toPixels(page.marginLeft.value, dX) - toPixels(page.marginRight.value, dX);
    height = static_cast<long long>(geometry.paperHeight) * dY / geometry.resolutionY -
             toPixels(page.marginTop.value, dY) - toPixels(page.marginBottom.value, dY);
}

void prepareLayoutItem(int format, LayoutItem& item) {
    long long W = 0;
    long long H = 0;
    marginBoxExtent(format, W, H);
    const int dX = screenMetrics().dpiX;
    const int dY = screenMetrics().dpiY;
    const PageSettings& page = printerSettings(format);
    const int ML = toPixels(page.marginLeft.value, dX);
    const int MT = toPixels(page.marginTop.value, dY);

    Rect& screenRect = item.screenRect;
    Rect& mm = item.mmRect;
    screenRect.left = clampToInt(static_cast<long long>(toPixels(mm.left, dX)) - ML);
    screenRect.top = clampToInt(static_cast<long long>(toPixels(mm.top, dY)) - MT);
    screenRect.right = clampToInt(static_cast<long long>(toPixels(mm.right, dX)) - ML);
    screenRect.bottom = clampToInt(static_cast<long long>(toPixels(mm.bottom, dY)) - MT);

    keepInsideBox(screenRect.left, screenRect.right, mm.left, mm.right, W, page.marginLeft.value,
                  dX);
    keepInsideBox(screenRect.top, screenRect.bottom, mm.top, mm.bottom, H, page.marginTop.value,
                  dY);
}

void prepareEditedFrame(int format, FormLayout& layout, int item) {
    if (item < 0 || item >= kLayoutItemCount) {
        return;
    }
    LayoutItem& frame = layout[item];
    prepareLayoutItem(format, frame);
    copyRectsToGroup(layout, item);
    if (frame.sizeRule == kSizeFitHeight) {
        frame.pointSize = mulDiv(frame.screenRect.height(), 72, displayDpiY());
    } else if (frame.sizeRule == kSizeFitWidth) {
        frame.pointSize = groupFitPointSize(layout, item);
    }
    const ItemGroup group = groupOf(item);
    for (int member = group.first; member <= group.last; ++member) {
        layout[member].sizeRule = frame.sizeRule;
        layout[member].pointSize = frame.pointSize;
    }
}

void prepareLayout(int format, FormLayout& layout) {
    for (LayoutItem& item : layout.items) {
        prepareLayoutItem(format, item);
    }
}

void prepareAllLayouts() {
    for (int format = 0; format < kFormatCount; ++format) {
        prepareLayout(format, settings().startupLayout[format]);
        FormLayout& live = liveLayout(format);
        prepareLayout(format, live);
        for (int i = 0; i < kLayoutItemCount; ++i) {
            live[i].itemId = i;
        }
    }
}

}  // namespace belvorine
