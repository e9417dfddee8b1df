#include "form/profile_frames.h"

#include <algorithm>

#include "data/layout_model.h"
#include "data/settings_state.h"
#include "form/page_fit.h"
#include "form/page_geometry.h"
#include "form/text_fitting.h"
#include "form/units.h"
#include "platform/sjis_text.h"

namespace belvorine {
namespace {

// The margin box of `format` in 1/100 mm from the paper's corner.
Rect marginBoxMillimetres(int format) {
    const PageSettings& page = printerSettings(format);
    const PageGeometry& geometry = printerGeometry(format);
    const int dpiX = geometry.resolutionX != 0 ? geometry.resolutionX : kDefaultPrinterDpi;
    const int dpiY = geometry.resolutionY != 0 ? geometry.resolutionY : kDefaultPrinterDpi;
    const long long width = static_cast<long long>(geometry.paperWidth) * 2540 / dpiX;
    const long long height = static_cast<long long>(geometry.paperHeight) * 2540 / dpiY;
    return Rect{page.marginLeft.value, page.marginTop.value,
                clampToInt(width - page.marginRight.value),
                clampToInt(height - page.marginBottom.value)};
}

// The widest frame `mm` can become inside `box` about its alignment point;
// 0 or less when that point lies outside the box.
long long roomAcross(const Rect& mm, std::int32_t alignment, const Rect& box) {
    switch (alignment) {
        case kAlignCentre: {
            const long long twiceCentre = static_cast<long long>(mm.left) + mm.right;
            return std::min(twiceCentre - 2LL * box.left, 2LL * box.right - twiceCentre);
        }
        case kAlignRight:
            return static_cast<long long>(mm.right) - box.left;
        default:
            return static_cast<long long>(box.right) - mm.left;
    }
}

long long textWidth(int format, const LayoutItem& item, std::string_view text) {
    return static_cast<long long>(
               toHundredthsMm(displayTextExtent(format, item, text).width(), displayDpiX())) +
           kFrameRoomHundredthsMm;
}

bool overlapAcross(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right;
}

bool isProfileItem(int index) {
    return index >= kItemCompanyFirst &&
           index < kItemCompanyFirst + kCompanyProfileCount;
}

// The top and bottom between which `item` may grow about its middle: the
// margin box, the lowest bottom of the frames above it and the highest top
// of those below it, among the frames drawn with it on the order page and
// the profile's lines, which keep their places while empty (a line entered
// again finds the room it had). A frame that already reaches past the
// middle cannot be kept off by growing about it and is left out.
std::pair<long long, long long> roomDown(const FormLayout& layout, int item, const Rect& box) {
    const Rect& mm = layout[item].mmRect;
    const long long twiceMiddle = static_cast<long long>(mm.top) + mm.bottom;
    long long top = box.top;
    long long bottom = box.bottom;
    for (int other = 0; other < kLayoutItemCount; ++other) {
        if (other == item || !isOnOrderPage(other) ||
            !(isDrawnFrame(layout, other) || isProfileItem(other))) {
            continue;
        }
        const Rect& frame = layout[other].mmRect;
        if (!overlapAcross(frame, mm)) {
            continue;
        }
        if (2LL * frame.bottom <= twiceMiddle) {
            top = std::max<long long>(top, frame.bottom);
        } else if (2LL * frame.top >= twiceMiddle) {
            bottom = std::min<long long>(bottom, frame.top);
        }
    }
    return {top, bottom};
}

}  // namespace

void fitProfileFrame(int format, FormLayout& layout, int item) {
    LayoutItem& frame = layout[item];
    const std::string_view text = sjisView(frame.text);
    if (text.empty()) {
        return;  // nothing drawn: the line keeps its place for a later text
    }
    const QSize extent = displayTextExtent(format, frame, text);
    const Rect box = marginBoxMillimetres(format);

    long long width = static_cast<long long>(toHundredthsMm(extent.width(), displayDpiX())) +
                      kFrameRoomHundredthsMm;
    const long long across = roomAcross(frame.mmRect, frame.alignment, box);
    if (across > 0) {
        width = std::min(width, across);
    }
    setFrameWidth(frame.mmRect, frame.alignment, width);

    const long long height =
        static_cast<long long>(toHundredthsMm(extent.height(), displayDpiY())) +
        kFrameRoomHundredthsMm;
    const auto [top, bottom] = roomDown(layout, item, box);
    Rect& mm = frame.mmRect;
    const long long twiceMiddle = static_cast<long long>(mm.top) + mm.bottom;
    const long long down = std::min({height, twiceMiddle - 2 * top, 2 * bottom - twiceMiddle});
    if (down > 0) {
        mm.top = clampToInt((twiceMiddle - down) / 2);
        mm.bottom = clampToInt(mm.top + down);
    }
}

bool profileTextFits(int format, int item, std::string_view textSjis) {
    const LayoutItem& frame = liveLayout(format)[item];
    const long long across =
        roomAcross(frame.mmRect, frame.alignment, marginBoxMillimetres(format));
    return across <= 0 || textWidth(format, frame, textSjis) <= across;
}

}  // namespace belvorine
