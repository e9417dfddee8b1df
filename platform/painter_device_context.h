#pragma once
// The drawing surface over QPainter, for any QPaintDevice: the screen
// bitmaps (QImage), printers and PDF files (QPrinter, QPdfWriter).

#include <memory>

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QList>
#include <QPainter>
#include <QPen>

#include "platform/device_context.h"
#include "platform/text_justification.h"

class QPaintDevice;

namespace belvorine {

class PainterDeviceContext : public DeviceContext {
public:
    // Draws with a painter the caller has begun (a print job keeps one
    // painter over all its pages). The painter must outlive this object.
    explicit PainterDeviceContext(QPainter& painter);
    // Begins a painter of its own on `device`; see isActive().
    explicit PainterDeviceContext(QPaintDevice* device);
    ~PainterDeviceContext() override;

    PainterDeviceContext(const PainterDeviceContext&) = delete;
    PainterDeviceContext& operator=(const PainterDeviceContext&) = delete;

    // 1 when the painter is active and drawing can happen.
    int isActive() const;

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
    struct Line;
    struct ShapedLine;
    ShapedLine& shapedLine(std::string_view text) const;
    Line layoutLine(std::string_view text) const;
    QList<QGlyphRun> placedGlyphs(const Line& line, const QFont& font) const;
    QFontMetrics metrics() const;
    void setFont(const QFont& font);

    std::unique_ptr<QPainter> ownPainter_;
    QPainter* painter_;
    QPaintDevice* device_ = nullptr;  // null while the painter is not active
    QFont font_;
    std::string fontKey_;  // the font and the device's resolution, for the line cache
    QColor textColor_ = Qt::black;
    QPen pen_;
    QPoint position_;
    Justification justification_;
};

}  // namespace belvorine
