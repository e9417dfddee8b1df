#pragma once
// A drawing surface that draws nothing: it records every call with fixed,
// simple metrics, so that tests and benchmarks can check every coordinate a
// renderer computes.
//
// Metrics, with h the character height of the selected font (|height|; a
// positive height is taken as the character height too):
// - a run of text between half-width spaces is bytes x h / 2 pixels wide
//   (truncated), so a double-byte character is h pixels wide, and a
//   half-width space is h / 2; with a justification in effect the runs are
//   the characters of the spaced-out text, its own spaces included;
// - text metrics: height h, average character width h / 2;
// - a height of 0 measures everything as 0 pixels; heights are cut to
//   kMaximumFontPixels like the painter's.
// Before any font is selected the height is 16.

#include <string>
#include <vector>

#include <QColor>
#include <QPoint>
#include <QRect>

#include "platform/device_context.h"
#include "platform/text_justification.h"

namespace belvorine {

struct RecordedCall {
    enum class Kind {
        SelectFont,
        TextExtent,
        TextMetrics,
        SetJustification,
        DrawText,
        SetTextColor,
        SetSolidPen,
        SetDottedPen,
        MoveTo,
        LineTo,
        FillRect,
        DrawRectangle,
    };
    Kind kind = Kind::SelectFont;
    LogFont font;      // the font selected (also in effect for texts)
    std::string text;  // TextExtent, DrawText
    QRect rect;        // DrawText, FillRect, DrawRectangle
    TextAlign align = TextAlign::Left;
    Justification justification;  // in effect for TextExtent and DrawText
    QColor color;                 // text colour, pen colour or fill colour
    int penWidth = 0;             // pen in effect for lines and rectangles
    bool dottedPen = false;
    QPoint from;   // LineTo: the line's start
    QPoint to;     // MoveTo, LineTo: the new position
    QSize extent;  // TextExtent: the result
    // DrawText: where the line landed (its left edge, top, width and
    // height) and the absolute x of each run (see the metrics above).
    QRect drawnLine;
    std::vector<int> runStarts;
};

class RecordingDeviceContext : public DeviceContext {
public:
    void selectFont(const LogFont& font) override;
    QSize textExtent(std::string_view text) override;
    TextMetrics textMetrics() override;
    void setTextJustification(int extra, int breakCount) override;
    void drawText(const QRect& rect, std::string_view text, TextAlign align) override;
    void setTextColor(const QColor& color) override;
    void setSolidPen(int width, const QColor& color = Qt::black) override;
    void setDottedPen(const QColor& color = Qt::black) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void fillRect(const QRect& rect, const QColor& color) override;
    void drawRectangle(const QRect& rect, const QColor& fill = QColor()) override;

    const std::vector<RecordedCall>& calls() const { return calls_; }
    // The recorded calls of one kind, in order.
    std::vector<RecordedCall> callsOf(RecordedCall::Kind kind) const;
    void clear() { calls_.clear(); }

    // The character height of the selected font.
    int characterHeight() const;

private:
    RecordedCall& record(RecordedCall::Kind kind);
    int lineWidth(std::string_view text, std::vector<int>* runStarts) const;

    std::vector<RecordedCall> calls_;
    LogFont font_ = [] {
        LogFont font;
        font.height = -16;
        return font;
    }();
    Justification justification_;
    QColor textColor_ = Qt::black;
    QColor penColor_ = Qt::black;
    int penWidth_ = 0;
    bool dotted_ = false;
    QPoint position_;
};

}  // namespace belvorine
