#pragma once
// The device geometry of a format's printer: 14 integers filled by printer
// discovery from the printer, the paper and the margins; read by the layout
// preparation, the renderer, the views and the print run.

#include <cstdint>

#include "records/records.h"

namespace belvorine {

struct PageGeometry {
    std::int32_t resolutionX = 0;      // pixels per inch
    std::int32_t resolutionY = 0;
    std::int32_t printableWidth = 0;   // pixels
    std::int32_t printableHeight = 0;
    std::int32_t paperWidth = 0;       // physical paper size, pixels
    std::int32_t paperHeight = 0;
    std::int32_t offsetX = 0;          // unprintable left and top, pixels
    std::int32_t offsetY = 0;
    std::int32_t unprintableRight = 0;
    std::int32_t unprintableBottom = 0;
    // The margin box in 1/100 pixel from the printable origin.
    std::int32_t marginBoxLeft = 0;
    std::int32_t marginBoxTop = 0;
    std::int32_t marginBoxRight = 0;
    std::int32_t marginBoxBottom = 0;
};
static_assert(sizeof(PageGeometry) == 14 * 4);

// The printer geometry of format 0 or 1, owned by this module.
PageGeometry& printerGeometry(int format);

// The printer geometry drawn on a screen bitmap of twice the paper's size
// whose paper corner lies at (W / 2, H / 2): every printer length v becomes
// v × sx / 5000 horizontally and v × sy / 5000 vertically (sx = display
// resolution × 5000 / printer resolution at 100 %), and the margin box is
// given in 1/100 bitmap pixel. The printable-size fields are left 0.
PageGeometry bitmapGeometry(const PageGeometry& printer, std::int64_t sx, std::int64_t sy,
                            int dpiX, int dpiY);

}  // namespace belvorine
