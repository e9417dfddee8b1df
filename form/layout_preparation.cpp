#include "form/layout_preparation.h"

#include "data/layout_model.h"
#include "data/settings_state.h"
#include "form/page_geometry.h"
#include "form/text_fitting.h"
#include "form/units.h"
#include "platform/screen_metrics.h"

namespace belvorine {
namespace {

// One axis of a frame: its screen edges, the margin box's extent in pixels.
// Returns how far the low edge moved (the frame was moved) or whether it was
// cut, so that the caller can follow in millimetres.
enum class Fit { kInside, kMovedLow, kMovedHigh, kCut };

Fit keepInsideBox(std::int32_t& low, std::int32_t& high, long long box) {
    const long long lo = low;
    const long long hi = high;
    const int boxEdge = clampToInt(box);
    if (lo <= 0) {
        low = 0;
        if (hi - lo <= box) {
            high = clampToInt(hi - lo);  // moved to the box's edge, same size
            return Fit::kMovedLow;
        }
        high = boxEdge;
        return Fit::kCut;
    }
    if (hi > box) {
        high = boxEdge;
        if (lo >= hi - box) {
            // Moved back until its far edge is on the box's edge.
            low = clampToInt(lo - (hi - box));
            return Fit::kMovedHigh;
        }
        low = 0;
        return Fit::kCut;
    }
    return Fit::kInside;
}

// The millimetres of an axis that keepInsideBox changed, from its new pixel
// edges: the stored position of an edited frame.
void followInMillimetres(Fit fit, std::int32_t low, std::int32_t high, std::int32_t& mmLow,
                         std::int32_t& mmHigh, int margin, int dpi) {
    auto millimetres = [&](int pixels) {
        return clampToInt(static_cast<long long>(toHundredthsMm(pixels, dpi)) + margin);
    };
    switch (fit) {
        case Fit::kInside:
            return;
        case Fit::kMovedLow:
        case Fit::kCut:
            mmLow = margin;
            mmHigh = millimetres(high);
            return;
        case Fit::kMovedHigh:
            mmLow = millimetres(low);
            mmHigh = millimetres(high);
            return;
    }
}

int orDefault(int value, int fallback) {
    return value != 0 ? value : fallback;
}

// The live geometry and screen with resolutions of 0 replaced and stored.
void storeDefaultResolutions(int format) {
    PageGeometry& geometry = printerGeometry(format);
    geometry.resolutionX = orDefault(geometry.resolutionX, kDefaultPrinterDpi);
    geometry.resolutionY = orDefault(geometry.resolutionY, kDefaultPrinterDpi);
    ScreenMetrics& screen = screenMetrics();
    screen.dpiX = orDefault(screen.dpiX, kDefaultDisplayDpi);
    screen.dpiY = orDefault(screen.dpiY, kDefaultDisplayDpi);
}

MarginBox liveMarginBox(int format) {
    storeDefaultResolutions(format);
    return marginBoxOf(printerSettings(format), printerGeometry(format));
}

}  // namespace

Rect boxPixels(const Rect& mm, const MarginBox& box) {
    const int dX = displayDpiX();
    const int dY = displayDpiY();
    return Rect{clampToInt(static_cast<long long>(toPixels(mm.left, dX)) - box.left),
                clampToInt(static_cast<long long>(toPixels(mm.top, dY)) - box.top),
                clampToInt(static_cast<long long>(toPixels(mm.right, dX)) - box.left),
                clampToInt(static_cast<long long>(toPixels(mm.bottom, dY)) - box.top)};
}

MarginBox marginBoxOf(const PageSettings& page, const PageGeometry& geometry) {
    const int dX = displayDpiX();
    const int dY = displayDpiY();
    const int pX = orDefault(geometry.resolutionX, kDefaultPrinterDpi);
    const int pY = orDefault(geometry.resolutionY, kDefaultPrinterDpi);
    MarginBox box;
    box.left = toPixels(page.marginLeft.value, dX);
    box.top = toPixels(page.marginTop.value, dY);
    box.width = static_cast<long long>(geometry.paperWidth) * dX / pX - box.left -
                toPixels(page.marginRight.value, dX);
    box.height = static_cast<long long>(geometry.paperHeight) * dY / pY - box.top -
                 toPixels(page.marginBottom.value, dY);
    box.marginLeft = page.marginLeft.value;
    box.marginTop = page.marginTop.value;
    return box;
}

Rect placedRect(const LayoutItem& item, const MarginBox& box) {
    Rect screen = boxPixels(item.mmRect, box);
    keepInsideBox(screen.left, screen.right, box.width);
    keepInsideBox(screen.top, screen.bottom, box.height);
    return screen;
}

void marginBoxExtent(int format, long long& width, long long& height) {
    const MarginBox box = liveMarginBox(format);
    width = box.width;
    height = box.height;
}

void prepareLayoutItem(int format, LayoutItem& item) {
    const MarginBox box = liveMarginBox(format);
    Rect& screen = item.screenRect;
    Rect& mm = item.mmRect;
    screen = boxPixels(mm, box);
    const Fit horizontal = keepInsideBox(screen.left, screen.right, box.width);
    const Fit vertical = keepInsideBox(screen.top, screen.bottom, box.height);
    followInMillimetres(horizontal, screen.left, screen.right, mm.left, mm.right, box.marginLeft,
                        displayDpiX());
    followInMillimetres(vertical, screen.top, screen.bottom, mm.top, mm.bottom, box.marginTop,
                        displayDpiY());
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
    const MarginBox box = liveMarginBox(format);
    for (LayoutItem& item : layout.items) {
        item.screenRect = placedRect(item, box);
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
