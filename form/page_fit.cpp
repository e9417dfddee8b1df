#include "form/page_fit.h"

#include <algorithm>

#include "data/layout_model.h"
#include "form/layout_preparation.h"
#include "form/page_renderer.h"
#include "form/units.h"
#include "platform/sjis_text.h"

namespace belvorine {

bool isDrawnFrame(const FormLayout& layout, int index) {
    if (isFrameOnlyItem(index)) {
        return true;
    }
    return index > 0 && !sjisView(layout[index].text).empty();
}

bool isOnOrderPage(int index) {
    // The acknowledgement's title, opening, date, stamp and rule.
    return index != kDocumentAcknowledgement && index != kItemAcknowledgementOpening &&
           index < kItemAcknowledgementDate;
}

int framesDrawnAway(const FormLayout& layout, const PageSettings& page,
                    const PageGeometry& geometry) {
    const MarginBox box = marginBoxOf(page, geometry);
    int count = 0;
    // A group shares one frame, counted once, as the user sees it; the
    // acknowledgement's frames count only where it is made.
    for (int i = 0; i < kLayoutItemCount; ++i) {
        const ItemGroup group = groupOf(i);
        if (i != group.first || (page.makeAcknowledgement != 1 && !isOnOrderPage(i))) {
            continue;
        }
        bool drawn = false;
        for (int member = group.first; member <= group.last; ++member) {
            drawn = drawn || isDrawnFrame(layout, member);
        }
        if (drawn && placedRect(layout[i], box) != boxPixels(layout[i].mmRect, box)) {
            ++count;
        }
    }
    return count;
}

HalfSheetFit halfSheetFit(const FormLayout& layout, const PageSettings& page,
                          const PageGeometry& geometry) {
    const MarginBox box = marginBoxOf(page, geometry);
    long long lowest = 0;
    for (int i = 0; i < kLayoutItemCount; ++i) {
        if (isOnOrderPage(i) && isDrawnFrame(layout, i)) {
            long long bottom = placedRect(layout[i], box).bottom;
            if (i == kItemTable && page.approvalOnCopy == 1) {
                bottom += kApprovalLineBelowTable;
            }
            lowest = std::max(lowest, bottom);
        }
    }
    const int dY = displayDpiY();
    const int resolution = geometry.resolutionY != 0 ? geometry.resolutionY : kDefaultPrinterDpi;
    const long long halfSheet = static_cast<long long>(geometry.paperHeight) * dY / resolution / 2;
    const long long bottomMargin = toPixels(page.marginBottom.value, dY);
    HalfSheetFit fit;
    fit.needed = toHundredthsMm(clampToInt(lowest), dY);
    fit.available = toHundredthsMm(clampToInt(halfSheet - box.top - bottomMargin), dY);
    return fit;
}

}  // namespace belvorine
