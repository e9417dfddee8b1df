#include "print/device_geometry.h"

#include <optional>

#include "data/margins.h"
#include "data/settings_state.h"
#include "form/units.h"
#include "platform/sjis_text.h"
#include "print/printer_list.h"

namespace belvorine {
namespace {

// A margin (1/100 mm) at `dpi`, in 1/100 pixel.
long long marginHundredthsPixel(int margin, int dpi) {
    return static_cast<long long>(dpi) * margin * 100 / 2540;
}

// Pixels at `dpi` in 1/100 mm.
int pixelsToHundredthsMm(long long pixels, int dpi) {
    return clampToInt(pixels * 2540 / dpi);
}

}  // namespace

DeviceMode deviceModeFor(const PageSettings& settings) {
    DeviceMode mode;
    mode.paperCode = static_cast<std::uint16_t>(settings.paperSize);
    mode.formName = fromSjisBuffer(settings.paperName);
    mode.orientation = settings.orientation;
    mode.source = static_cast<std::uint16_t>(settings.paperSource);
    return mode;
}

void fillGeometry(const DeviceCaps& caps, PageSettings& settings, PageGeometry& geometry) {
    geometry.resolutionX = caps.resolutionX;
    geometry.resolutionY = caps.resolutionY;
    geometry.printableWidth = caps.printableWidth;
    geometry.printableHeight = caps.printableHeight;
    geometry.paperWidth = caps.paperWidth;
    geometry.paperHeight = caps.paperHeight;
    geometry.offsetX = caps.offsetX;
    geometry.offsetY = caps.offsetY;
    geometry.unprintableRight = caps.paperWidth - caps.offsetX - caps.printableWidth;
    geometry.unprintableBottom = caps.paperHeight - caps.offsetY - caps.printableHeight;

    settings.marginLeft.value = clampedMargin(settings.marginLeft);
    settings.marginTop.value = clampedMargin(settings.marginTop);
    settings.marginRight.value = clampedMargin(settings.marginRight);
    settings.marginBottom.value = clampedMargin(settings.marginBottom);

    geometry.marginBoxLeft =
        clampToInt(marginHundredthsPixel(settings.marginLeft.value, geometry.resolutionX) -
                   static_cast<long long>(geometry.offsetX) * 100);
    geometry.marginBoxTop =
        clampToInt(marginHundredthsPixel(settings.marginTop.value, geometry.resolutionY) -
                   static_cast<long long>(geometry.offsetY) * 100);
    geometry.marginBoxRight = clampToInt(
        (static_cast<long long>(geometry.unprintableRight) + geometry.printableWidth) * 100 -
        marginHundredthsPixel(settings.marginRight.value, geometry.resolutionX));
    geometry.marginBoxBottom = clampToInt(
        (static_cast<long long>(geometry.unprintableBottom) + geometry.printableHeight) * 100 -
        marginHundredthsPixel(settings.marginBottom.value, geometry.resolutionY));
}

void setMarginLimits(const DeviceCaps& caps, PageSettings& settings) {
    const int dpiX = caps.resolutionX;
    const int dpiY = caps.resolutionY;
    if (dpiX == 0 || dpiY == 0) {
        return;
    }
    const long long right =
        static_cast<long long>(caps.paperWidth) - caps.offsetX - caps.printableWidth;
    const long long bottom =
        static_cast<long long>(caps.paperHeight) - caps.offsetY - caps.printableHeight;
    settings.marginLeft.minimum = pixelsToHundredthsMm(caps.offsetX, dpiX);
    settings.marginTop.minimum = pixelsToHundredthsMm(caps.offsetY, dpiY);
    settings.marginRight.minimum = pixelsToHundredthsMm(right, dpiX);
    settings.marginBottom.minimum = pixelsToHundredthsMm(bottom, dpiY);
    const int widthThird = pixelsToHundredthsMm(caps.paperWidth, dpiX) / 3;
    const int heightThird = pixelsToHundredthsMm(caps.paperHeight, dpiY) / 3;
    settings.marginLeft.maximum = widthThird;
    settings.marginRight.maximum = widthThird;
    settings.marginTop.maximum = heightThird;
    settings.marginBottom.maximum = heightThird;
}

namespace {

// A printer's answer for one device mode, kept so that the start-up check of
// the second format does not ask the same printer the same again.
struct Answer {
    QString printer;
    DeviceMode mode;
    DeviceCaps caps;
};

int refresh(PageSettings& settings, PageGeometry& geometry, std::optional<Answer>* last) {
    if (printerCount() == 0) {
        return 0;
    }
    correctPrinterIndex(settings);
    PageSettings checked = settings;
    const PrinterEntry& entry = printerEntry(checked.printerIndex);
    const DeviceMode mode = deviceModeFor(checked);
    DeviceCaps caps;
    if (last && *last && (*last)->printer == entry.name && (*last)->mode == mode) {
        caps = (*last)->caps;
    } else if (!queryDeviceCaps(entry, mode, caps)) {
        return 0;
    }
    if (caps.resolutionX == 0 || caps.resolutionY == 0) {
        return 0;
    }
    if (last) {
        *last = Answer{entry.name, mode, caps};
    }
    // The limits come first, so that the margins are clamped into this
    // printer's and this paper's limits rather than the last ones stored.
    setMarginLimits(caps, checked);
    fillGeometry(caps, checked, geometry);
    settings = checked;
    return 1;
}

}  // namespace

int checkPrinter(PageSettings& settings, PageGeometry& geometry) {
    return refresh(settings, geometry, nullptr);
}

int refreshPrinterMetrics(PageSettings& settings, int format) {
    return checkPrinter(settings, printerGeometry(format));
}

int checkPrintersAtStartup() {
    std::optional<Answer> last;
    for (int format = 0; format < kFormatCount; ++format) {
        if (!refresh(printerSettings(format), printerGeometry(format), &last)) {
            return 0;
        }
    }
    return 1;
}

}  // namespace belvorine
