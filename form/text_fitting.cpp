#include "form/text_fitting.h"

#include <algorithm>
#include <cmath>

#include <QImage>

#include "data/layout_model.h"
#include "data/order_record.h"
#include "data/settings_state.h"
#include "form/units.h"
#include "platform/log_font_qt.h"
#include "platform/painter_device_context.h"
#include "platform/sjis_text.h"

namespace belvorine {
namespace {

// "　御中" in Shift-JIS.
constexpr std::string_view kHonorific = "\x81\x40\x8c\xe4\x92\x86";

// The settings' font with the frame's height, weight and underline.
LogFont frameFont(const LogFont& base, int height, const LayoutItem& item) {
    LogFont font = base;
    font.height = height;
    font.weight = item.weight;
    font.underline = item.underline;
    return font;
}

TextAlign textAlign(std::int32_t alignment) {
    switch (alignment) {
        case kAlignCentre:
            return TextAlign::Centre;
        case kAlignRight:
            return TextAlign::Right;
        default:
            return TextAlign::Left;
    }
}

// A display bitmap standing in for the screen's device: the form view and
// the preview draw at this resolution.
struct DisplaySurface {
    DisplaySurface() : image(1, 1, QImage::Format_ARGB32_Premultiplied), dc(prepared(image)) {}

    static QImage* prepared(QImage& image) {
        image.setDotsPerMeterX(static_cast<int>(std::lround(displayDpiX() / 0.0254)));
        image.setDotsPerMeterY(static_cast<int>(std::lround(displayDpiY() / 0.0254)));
        return &image;
    }

    QImage image;
    PainterDeviceContext dc;
};

int scaled(int value, int scale) {
    return clampToInt(static_cast<long long>(value) * scale / 100);
}

}  // namespace

std::string longestAddressee(int format) {
    std::string text(" ");
    // The buffer holds up to 255 bytes and its terminator; the result is
    // built on the heap, so the longest name cannot overrun anything.
    text += sjisView(longestCounterparty(format), 256);
    text += kHonorific;
    return text;
}

namespace {

// The largest size at which `text` is narrower than `item`'s frame, as
// fitPointSize defines it.
int fitText(const LayoutItem& item, std::string_view text) {
    if (text.empty()) {
        return item.pointSize;
    }
    const int dX = displayDpiX();
    const int dY = displayDpiY();
    DisplaySurface display;
    const LogFont& base = printerSettings(currentFormat()).font;
    const long long frameWidth = static_cast<long long>(item.mmRect.right) - item.mmRect.left;
    for (int n = 1; n <= kMaximumFitPoints; ++n) {
        display.dc.selectFont(frameFont(base, -mulDiv(n, dY, 72), item));
        const int width = display.dc.textExtent(text).width();
        if (toHundredthsMm(clampToInt(static_cast<long long>(width) + 1), dX) >= frameWidth) {
            return n - 1;
        }
    }
    return kMaximumFitPoints;
}

// The addressee line's size and the text whose pitch it is laid out at.
// Every order of a format gets the size of the longest counterparty, and a
// longer name drawn now (a new counterparty before its first print, the
// issuer's own name on the acknowledgement) the size that fits it; but the
// longest counterparty lowers a shorter line no further than
// kMinimumAddresseePoints.
struct AddresseeFit {
    int pointSize = 0;
    std::string pitchText;
};

AddresseeFit fitAddressee(const LayoutItem& item, std::string_view drawn) {
    AddresseeFit fit;
    fit.pitchText = longestAddressee(currentFormat());
    if (drawn.size() > fit.pitchText.size()) {
        fit.pitchText.assign(drawn);
    }
    fit.pointSize = fitText(item, fit.pitchText);
    if (fit.pointSize < kMinimumAddresseePoints && drawn != fit.pitchText) {
        fit.pointSize =
            std::max(fit.pointSize, std::min(kMinimumAddresseePoints, fitText(item, drawn)));
    }
    return fit;
}

}  // namespace

int fitPointSize(const LayoutItem& item) {
    if (item.itemId == kItemAddressee) {
        return fitAddressee(item, longestAddressee(currentFormat())).pointSize;
    }
    return fitText(item, sjisView(item.text));
}

int groupFitPointSize(const FormLayout& layout, int item) {
    if (item < 0 || item >= kLayoutItemCount) {
        return 0;
    }
    const ItemGroup group = groupOf(item);
    int smallest = fitPointSize(layout[group.first]);
    for (int member = group.first + 1; member <= group.last; ++member) {
        // A member without a text draws nothing and needs no room.
        const std::string_view text = sjisView(layout[member].text);
        if (!text.empty()) {
            smallest = std::min(smallest, fitText(layout[group.first], text));
        }
    }
    return smallest;
}

QSize drawnTextExtent(int format, const LayoutItem& item, std::string_view text) {
    const QSize natural = displayTextExtent(format, item, text);
    const int width = item.sizeRule == kSizeFitWidth
                          ? std::min(natural.width(), item.screenRect.width())
                          : natural.width();
    return QSize(width, mulDiv(item.pointSize, displayDpiY(), 72));
}

QSize displayTextExtent(int format, const LayoutItem& item, std::string_view text) {
    DisplaySurface display;
    const LogFont& base = printerSettings(isFormatIndex(format) ? format : 0).font;
    display.dc.selectFont(frameFont(base, -mulDiv(item.pointSize, displayDpiY(), 72), item));
    return display.dc.textExtent(text);
}

void setFrameWidth(Rect& mm, std::int32_t alignment, long long width) {
    const long long left = mm.left;
    const long long right = mm.right;
    switch (alignment) {
        case kAlignCentre:
            mm.left = clampToInt((left + right - width) / 2);
            mm.right = clampToInt(mm.left + width);
            break;
        case kAlignRight:
            mm.left = clampToInt(right - width);
            break;
        default:
            mm.right = clampToInt(left + width);
            break;
    }
}

void fitFrameWidth(Rect& mm, std::int32_t alignment, int pixels) {
    setFrameWidth(
        mm, alignment,
        static_cast<long long>(toHundredthsMm(pixels, displayDpiX())) + kFrameRoomHundredthsMm);
}

void fitFrameHeight(Rect& mm, int pixels) {
    mm.bottom = clampToInt(static_cast<long long>(mm.top) + toHundredthsMm(pixels, displayDpiY()) +
                           kFrameRoomHundredthsMm);
}

int spaceOut(std::string_view text, std::string& out) {
    out.clear();
    out.reserve(text.size() * 2);
    int breaks = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        // A lead byte and its trail byte are one character; a lead byte at
        // the very end stands alone.
        const std::size_t length =
            isSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
        if (i > 0) {
            out += ' ';
            ++breaks;
        }
        out.append(text.substr(i, length));
        i += length;
    }
    return breaks;
}

void drawFrame(DeviceContext& dc, const LayoutItem& item, const PageSettings& settings, int scale,
               int ox, int oy, int fitSize) {
    const std::string_view text = sjisView(item.text);
    if (text.empty()) {
        return;
    }
    const int dY = displayDpiY();
    const Rect& screen = item.screenRect;
    const int left = clampToInt(static_cast<long long>(scaled(screen.left, scale)) - ox);
    const int top = clampToInt(static_cast<long long>(scaled(screen.top, scale)) - oy);
    const int right = clampToInt(static_cast<long long>(scaled(screen.right, scale)) - ox);
    const int bottom = clampToInt(static_cast<long long>(scaled(screen.bottom, scale)) - oy);
    const QRect rect(QPoint(left, top), QSize(clampToInt(static_cast<long long>(right) - left),
                                              clampToInt(static_cast<long long>(bottom) - top)));
    const bool addressee = item.sizeRule == kSizeFitWidth && item.itemId == kItemAddressee;
    AddresseeFit addresseeFit;

    int size = item.pointSize;
    if (addressee) {
        addresseeFit = fitAddressee(item, text);
        size = addresseeFit.pointSize;
    } else if (item.sizeRule == kSizeFitWidth) {
        size = fitSize >= 0 ? fitSize : fitPointSize(item);
    } else if (item.sizeRule == kSizeFitHeight) {
        size = mulDiv(clampToInt(static_cast<long long>(screen.bottom) - screen.top), 72, dY);
    }

    dc.setTextJustification(0, 0);
    dc.selectFont(
        frameFont(settings.font, clampToInt(-static_cast<long long>(mulDiv(size, dY, 72))), item));
    long long target = 0;
    if (addressee) {
        // Laid out at the pitch of the longest name, so that shorter names
        // do not stretch; a longer one is pressed into the frame.
        const std::string& pitch = addresseeFit.pitchText;
        const long long pitchWidth = dc.textExtent(pitch).width();
        target = std::min<long long>(static_cast<long long>(text.size()) * pitchWidth * scale /
                                         static_cast<long long>(pitch.size()) / 100,
                                     static_cast<long long>(right) - left);
    } else if (item.sizeRule == kSizeFitWidth) {
        target = static_cast<long long>(right) - left;
    } else {
        target = static_cast<long long>(dc.textExtent(text).width()) * scale / 100;
    }
    if (target <= 0) {
        return;
    }

    long long height = mulDiv(size, dY, 72);
    if (scale > 100) {
        height = height * scale / 100;
    }
    // Shrinks until the text fits, but never below one pixel: a frame too
    // narrow even then gets its text tightened by the spread below.
    height = std::clamp<long long>(height, 1, kMaximumFontPixels);
    for (;; --height) {
        dc.selectFont(frameFont(settings.font, -static_cast<int>(height), item));
        if (dc.textExtent(text).width() <= target || height <= 1) {
            break;
        }
    }

    // The spaced text is measured as it is drawn, character by character.
    std::string spaced;
    const int breaks = spaceOut(text, spaced);
    dc.setTextJustification(0, breaks);
    const long long spacedWidth = dc.textExtent(spaced).width();
    dc.setTextJustification(clampToInt(target - spacedWidth), breaks);
    dc.drawText(rect, spaced, textAlign(item.alignment));
    dc.setTextJustification(0, 0);
}

}  // namespace belvorine
