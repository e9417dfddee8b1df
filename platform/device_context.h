#pragma once
// The drawing surface every renderer takes: what the page renderer needs and
// no more. Coordinates are device pixels; texts are Shift-JIS bytes.

#include <string_view>

#include <QColor>
#include <QRect>
#include <QSize>

#include "records/records.h"

namespace belvorine {

// Horizontal placement of a single line of text in its rectangle; the line
// is always centred vertically.
enum class TextAlign { Left = 0, Centre = 1, Right = 2 };

struct TextMetrics {
    int height = 0;  // character cell height
    int averageCharWidth = 0;
};

class DeviceContext {
public:
    virtual ~DeviceContext() = default;

    // Selects the font described by `font` (height < 0: character height in
    // pixels). It stays selected until the next call.
    virtual void selectFont(const LogFont& font) = 0;

    // Size of a single line of `text` with the selected font and the
    // current justification.
    virtual QSize textExtent(std::string_view text) = 0;

    virtual TextMetrics textMetrics() = 0;

    // The next texts drawn or measured are spaced-out text (one separating
    // half-width space between every two characters): `extra` pixels
    // (negative: taken away) are spread over its `breakCount` separators,
    // the remainder one pixel each to the first ones. A half-width space
    // that is one of the text's own characters is no separator and keeps
    // its width. (0, 0) clears it: a text is then laid out as it stands.
    virtual void setTextJustification(int extra, int breakCount) = 0;

    // Draws one line of `text` in `rect`, aligned horizontally and centred
    // vertically, in the text colour, clipped to the rectangle.
    virtual void drawText(const QRect& rect, std::string_view text, TextAlign align) = 0;

    virtual void setTextColor(const QColor& color) = 0;

    // A solid pen of `width` pixels (0: one pixel) or a dotted one-pixel pen.
    virtual void setSolidPen(int width, const QColor& color = Qt::black) = 0;
    virtual void setDottedPen(const QColor& color = Qt::black) = 0;

    virtual void moveTo(int x, int y) = 0;
    // A line from the current position to (x, y), which becomes current;
    // like the original platform, the end point itself is not drawn.
    virtual void lineTo(int x, int y) = 0;

    // Fills `rect` with `color`.
    virtual void fillRect(const QRect& rect, const QColor& color) = 0;
    // Outlines `rect` with the current pen and fills its inside with `fill`
    // (an invalid colour: no fill).
    virtual void drawRectangle(const QRect& rect, const QColor& fill = QColor()) = 0;
};

}  // namespace belvorine
