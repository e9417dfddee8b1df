#include "preview/bounded_device_context.h"

#include <algorithm>
#include <cstdlib>

namespace belvorine {

void BoundedDeviceContext::selectFont(const LogFont& font) {
    fontPixels_ = std::abs(font.height);
    surface_.selectFont(font);
}

QSize BoundedDeviceContext::textExtent(std::string_view text) {
    return surface_.textExtent(text);
}

TextMetrics BoundedDeviceContext::textMetrics() {
    return surface_.textMetrics();
}

void BoundedDeviceContext::setTextJustification(int extra, int breakCount) {
    surface_.setTextJustification(extra, breakCount);
}

void BoundedDeviceContext::drawText(const QRect& rect, std::string_view text, TextAlign align) {
    // A line is clipped to its rectangle unless its cell (its advance wide,
    // the font's height high) fits inside it; the ink of a glyph reaches
    // past its cell by a few pixels at most, which a quarter of the font's
    // height around the rectangle holds.
    const int height = fontPixels_ != 0 ? fontPixels_ : surface_.textMetrics().height;
    const int room = height / 4 + 2;
    include(rect.adjusted(-room, -room, room, room));
    surface_.drawText(rect, text, align);
}

void BoundedDeviceContext::setTextColor(const QColor& color) {
    surface_.setTextColor(color);
}

void BoundedDeviceContext::setSolidPen(int width, const QColor& color) {
    penWidth_ = std::max(width, 1);
    surface_.setSolidPen(width, color);
}

void BoundedDeviceContext::setDottedPen(const QColor& color) {
    penWidth_ = 1;
    surface_.setDottedPen(color);
}

void BoundedDeviceContext::moveTo(int x, int y) {
    position_ = QPoint(x, y);
    surface_.moveTo(x, y);
}

void BoundedDeviceContext::lineTo(int x, int y) {
    const QPoint to(x, y);
    include(
        QRect(position_, to).normalized().adjusted(-penWidth_, -penWidth_, penWidth_, penWidth_));
    position_ = to;
    surface_.lineTo(x, y);
}

void BoundedDeviceContext::fillRect(const QRect& rect, const QColor& color) {
    include(rect);
    surface_.fillRect(rect, color);
}

void BoundedDeviceContext::drawRectangle(const QRect& rect, const QColor& fill) {
    include(rect.adjusted(-penWidth_, -penWidth_, penWidth_, penWidth_));
    surface_.drawRectangle(rect, fill);
}

}  // namespace belvorine
