#pragma once
// A drawing surface that draws through another one and keeps a rectangle
// that holds every pixel drawn, so that a page drawn on a bitmap of part of
// its surface can tell whether anything fell outside that part.

#include "platform/device_context.h"

namespace belvorine {

class BoundedDeviceContext : public DeviceContext {
public:
    explicit BoundedDeviceContext(DeviceContext& surface) : surface_(surface) {}

    // Every pixel drawn so far lies inside it (device pixels), with room to
    // spare: a text's whole rectangle and more, a line's pen width.
    QRect drawnBounds() const { return bounds_; }

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

private:
    void include(const QRect& rect) { bounds_ |= rect; }

    DeviceContext& surface_;
    QRect bounds_;
    int fontPixels_ = 0;  // height of the font selected, in pixels
    int penWidth_ = 1;
    QPoint position_;
};

}  // namespace belvorine
