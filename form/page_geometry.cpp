#include "form/page_geometry.h"

namespace belvorine {

PageGeometry& printerGeometry(int format) {
    static PageGeometry geometries[kFormatCount];
    return geometries[format == 1 ? 1 : 0];
}

namespace {

std::int32_t scaled(std::int64_t value, std::int64_t factor) {
    return static_cast<std::int32_t>(value * factor / 5000);
}

}  // namespace

PageGeometry bitmapGeometry(const PageGeometry& printer, std::int64_t sx, std::int64_t sy,
                            int dpiX, int dpiY) {
    PageGeometry screen;
    screen.resolutionX = dpiX;
    screen.resolutionY = dpiY;
    screen.paperWidth = scaled(printer.paperWidth, sx);
    screen.paperHeight = scaled(printer.paperHeight, sy);
    screen.offsetX = scaled(printer.offsetX, sx);
    screen.offsetY = scaled(printer.offsetY, sy);
    screen.unprintableRight = scaled(printer.unprintableRight, sx);
    screen.unprintableBottom = scaled(printer.unprintableBottom, sy);
    const std::int32_t originX = (screen.paperWidth / 2 + screen.offsetX) * 100;
    const std::int32_t originY = (screen.paperHeight / 2 + screen.offsetY) * 100;
    screen.marginBoxLeft = scaled(printer.marginBoxLeft, sx) + originX;
    screen.marginBoxTop = scaled(printer.marginBoxTop, sy) + originY;
    screen.marginBoxRight = scaled(printer.marginBoxRight, sx) + originX;
    screen.marginBoxBottom = scaled(printer.marginBoxBottom, sy) + originY;
    return screen;
}

}  // namespace belvorine
