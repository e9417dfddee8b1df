#include "preview/frame_limits.h"

#include <algorithm>

#include "data/layout_model.h"
#include "data/settings_state.h"
#include "form/page_geometry.h"
#include "form/units.h"

namespace belvorine {
namespace {

constexpr int kOneMillimetre = 100;

// The paper's width and height in hundredths of a millimetre.
QSize paperHundredths(int format) {
    PageGeometry& geometry = printerGeometry(format);
    if (geometry.resolutionX == 0) {
        geometry.resolutionX = kDefaultPrinterDpi;
    }
    if (geometry.resolutionY == 0) {
        geometry.resolutionY = kDefaultPrinterDpi;
    }
    const auto hundredths = [](long long pixels, int dpi) {
        return clampToInt(pixels * 2540 / dpi);
    };
    return QSize(hundredths(geometry.paperWidth, geometry.resolutionX),
                 hundredths(geometry.paperHeight, geometry.resolutionY));
}

// The height of one line of the frame's text at the size it is drawn:
// below it the text would be cut.
int lineHeight(const LayoutItem& item) {
    if (isFrameOnlyItem(item.itemId) || item.text[0] == '\0' || item.sizeRule == kSizeFitHeight) {
        return 0;  // a fit-to-height text follows the frame's height
    }
    const int dY = displayDpiY();
    return toHundredthsMm(mulDiv(std::max(item.pointSize, 0), dY, 72), dY);
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

FrameLimits frameLimits(int format, const LayoutItem& item) {
    const QSize paper = paperHundredths(format);
    const PageSettings& page = printerSettings(format);
    FrameLimits limits;
    limits.box = Rect{page.marginLeft.value, page.marginTop.value,
                      clampToInt(static_cast<long long>(paper.width()) - page.marginRight.value),
                      clampToInt(static_cast<long long>(paper.height()) - page.marginBottom.value)};
    limits.minWidth = kOneMillimetre;
    limits.minHeight = std::max(kOneMillimetre, lineHeight(item));
    return limits;
}

QSize paperMillimetres(int format) {
    const QSize paper = paperHundredths(format);
    return QSize((paper.width() + 50) / 100, (paper.height() + 50) / 100);
}

}  // namespace belvorine
