#include "preview/frame_limits.h"

#include "data/settings_state.h"
#include "form/page_geometry.h"
#include "form/units.h"

namespace belvorine {
namespace {

int paperMillimetres(int pixels, std::int32_t& resolution) {
    if (resolution == 0) {
        resolution = kDefaultPrinterDpi;
    }
    return static_cast<int>((static_cast<long long>(pixels) * 2540 / resolution + 50) / 100);
}

}  // namespace

FrameMillimetres frameMillimetres(const Rect& mmRect) {
    FrameMillimetres frame;
    frame.x = mmRect.left / 100;
    frame.y = mmRect.top / 100;
    frame.width = clampToInt((static_cast<long long>(mmRect.right) - mmRect.left + 50) / 100);
    frame.height = clampToInt((static_cast<long long>(mmRect.bottom) - mmRect.top + 50) / 100);
    return frame;
}

FrameLimits frameLimits(int format, const FrameMillimetres& frame) {
    PageGeometry& geometry = printerGeometry(format);
    const int paperWidth = paperMillimetres(geometry.paperWidth, geometry.resolutionX);
    const int paperHeight = paperMillimetres(geometry.paperHeight, geometry.resolutionY);
    const PageSettings& page = printerSettings(format);
    const int left = page.marginLeft.value / 100;
    const int right = page.marginRight.value / 100;
    const int top = page.marginTop.value / 100;
    const int bottom = page.marginBottom.value / 100;
    FrameLimits limits;
    limits.minX = left;
    limits.maxX = paperWidth - right - frame.width;
    limits.minY = top;
    limits.maxY = paperHeight - frame.height - 1;
    limits.maxWidth = paperWidth - right - frame.x;
    limits.maxHeight = paperHeight - bottom - frame.y;
    return limits;
}

}  // namespace belvorine
