#include "platform/painter_device_context.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPaintDevice>
#include <QStringList>

#include "platform/log_font_qt.h"
#include "platform/sjis_text.h"

namespace belvorine {

// One line of text cut at its half-width spaces, positioned with the
// justification in effect.
struct PainterDeviceContext::Line {
    QStringList runs;
    std::vector<int> starts;
    int width = 0;
};

PainterDeviceContext::PainterDeviceContext(QPainter& painter) : painter_(&painter) {
    device_ = painter.device();
    font_ = painter.font();
    setSolidPen(0);
}

PainterDeviceContext::PainterDeviceContext(QPaintDevice* device)
    : ownPainter_(std::make_unique<QPainter>()), painter_(ownPainter_.get()) {
    if (device && ownPainter_->begin(device)) {
        device_ = device;
        font_ = ownPainter_->font();
    }
    setSolidPen(0);
}

PainterDeviceContext::~PainterDeviceContext() {
    if (ownPainter_ && ownPainter_->isActive()) {
        ownPainter_->end();
    }
}

int PainterDeviceContext::isActive() const {
    return painter_->isActive() ? 1 : 0;
}

void PainterDeviceContext::selectFont(const LogFont& font) {
    font_ = device_ ? QFont(fontFromLogFont(font), device_) : fontFromLogFont(font);
}

QFontMetrics PainterDeviceContext::metrics() const {
    return device_ ? QFontMetrics(font_, device_) : QFontMetrics(font_);
}

// The runs are measured one by one, exactly as drawText places them, so
// that a measured width is the drawn width to the pixel.
PainterDeviceContext::Line PainterDeviceContext::layoutLine(std::string_view text) const {
    Line line;
    const QFontMetrics fm = metrics();
    line.runs = fromSjis(text).split(QLatin1Char(' '));
    std::vector<int> widths;
    widths.reserve(static_cast<std::size_t>(line.runs.size()));
    for (const QString& run : line.runs) {
        widths.push_back(run.isEmpty() ? 0 : fm.horizontalAdvance(run));
    }
    line.width =
        layoutRuns(widths, fm.horizontalAdvance(QLatin1Char(' ')), justification_, &line.starts);
    return line;
}

QSize PainterDeviceContext::textExtent(std::string_view text) {
    return QSize(layoutLine(text).width, metrics().height());
}

TextMetrics PainterDeviceContext::textMetrics() {
    const QFontMetrics fm = metrics();
    return TextMetrics{fm.height(), fm.averageCharWidth()};
}

void PainterDeviceContext::setTextJustification(int extra, int breakCount) {
    justification_ = Justification{extra, breakCount};
}

void PainterDeviceContext::drawText(const QRect& rect, std::string_view text, TextAlign align) {
    if (!painter_->isActive()) {
        return;
    }
    const Line line = layoutLine(text);
    const QFontMetrics fm = metrics();
    const QPoint corner = placeLine(rect, line.width, fm.height(), align);
    const int x = corner.x();
    const int baseline = corner.y() + fm.ascent();
    // A text longer than its frame stops at the frame, on screen and on
    // paper alike, instead of running over its neighbours. Only such a text
    // is clipped: every clip is a path of its own in a PDF.
    painter_->save();
    if (!rect.contains(QRect(corner, QSize(line.width, fm.height())))) {
        painter_->setClipRect(rect, painter_->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    }

    // The runs are drawn without decoration; underline and strike-out are
    // drawn once across the whole line, spaces and justification included.
    QFont runFont = font_;
    runFont.setUnderline(false);
    runFont.setStrikeOut(false);
    painter_->setFont(runFont);
    painter_->setPen(textColor_);
    for (qsizetype i = 0; i < line.runs.size(); ++i) {
        if (!line.runs[i].isEmpty()) {
            painter_->drawText(QPoint(x + line.starts[static_cast<std::size_t>(i)], baseline),
                               line.runs[i]);
        }
    }
    const int thickness = std::max(1, fm.lineWidth());
    if (font_.underline() && line.width > 0) {
        painter_->fillRect(QRect(x, baseline + fm.underlinePos(), line.width, thickness),
                           textColor_);
    }
    if (font_.strikeOut() && line.width > 0) {
        painter_->fillRect(QRect(x, baseline - fm.strikeOutPos(), line.width, thickness),
                           textColor_);
    }
    painter_->restore();
}

void PainterDeviceContext::setTextColor(const QColor& color) {
    textColor_ = color;
}

void PainterDeviceContext::setSolidPen(int width, const QColor& color) {
    if (width <= 1) {
        // Width 0 is a cosmetic one-pixel line on every device. A flat cap
        // leaves the end point of a line undrawn.
        pen_ = QPen(color, width <= 0 ? 0 : 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    } else {
        pen_ = QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    }
}

void PainterDeviceContext::setDottedPen(const QColor& color) {
    pen_ = QPen(color, 0, Qt::DotLine, Qt::FlatCap, Qt::MiterJoin);
}

void PainterDeviceContext::moveTo(int x, int y) {
    position_ = QPoint(x, y);
}

void PainterDeviceContext::lineTo(int x, int y) {
    const QPoint end(x, y);
    if (painter_->isActive()) {
        painter_->setPen(pen_);
        painter_->drawLine(position_, end);
    }
    position_ = end;
}

void PainterDeviceContext::fillRect(const QRect& rect, const QColor& color) {
    if (painter_->isActive()) {
        painter_->fillRect(rect, color);
    }
}

void PainterDeviceContext::drawRectangle(const QRect& rect, const QColor& fill) {
    if (!painter_->isActive()) {
        return;
    }
    if (fill.isValid()) {
        painter_->fillRect(rect, fill);
    }
    // The outline lies inside the rectangle, on its first and last pixels.
    painter_->setPen(pen_);
    painter_->setBrush(Qt::NoBrush);
    painter_->drawRect(rect.adjusted(0, 0, -1, -1));
}

}  // namespace belvorine
