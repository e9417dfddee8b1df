#include "platform/painter_device_context.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include <QCoreApplication>

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QTextLayout>

#include "platform/log_font_qt.h"
#include "platform/sjis_text.h"

namespace belvorine {

// One line of text as it is drawn: its cells (the characters of spaced-out
// text while a justification is in effect, else the whole text) and where
// each starts.
struct PainterDeviceContext::Line {
    QString text;                // the cells joined, without separators
    std::vector<int> cellFrom;   // where each cell starts in `text`
    std::vector<int> cellStart;  // its x from the line's left edge
    int width = 0;
};

// A line laid out once, and its glyphs placed once it is drawn.
struct PainterDeviceContext::ShapedLine {
    Line line;
    QList<QGlyphRun> glyphs;
    bool placed = false;
};

namespace {

// Enough for the texts of both formats' pages at a few sizes; past it the
// cache starts again rather than grow with every text ever drawn.
constexpr std::size_t kLineCacheLimit = 4096;

}  // namespace

PainterDeviceContext::PainterDeviceContext(QPainter& painter) : painter_(&painter) {
    device_ = painter.device();
    setFont(painter.font());
    setSolidPen(0);
}

PainterDeviceContext::PainterDeviceContext(QPaintDevice* device)
    : ownPainter_(std::make_unique<QPainter>()), painter_(ownPainter_.get()) {
    if (device && ownPainter_->begin(device)) {
        device_ = device;
        setFont(ownPainter_->font());
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
    setFont(device_ ? QFont(fontFromLogFont(font), device_) : fontFromLogFont(font));
}

void PainterDeviceContext::setFont(const QFont& font) {
    font_ = font;
    // The key leaves out kerning, which changes where the glyphs go.
    fontKey_ = font.key().toStdString() + (font.kerning() ? "|k" : "|");
    if (device_) {
        fontKey_ += '|' + std::to_string(device_->logicalDpiX()) + ',' +
                    std::to_string(device_->logicalDpiY()) + ',' +
                    std::to_string(device_->devicePixelRatioF());
    }
}

QFontMetrics PainterDeviceContext::metrics() const {
    return device_ ? QFontMetrics(font_, device_) : QFontMetrics(font_);
}

// The cells are measured one by one, exactly as drawText places them, so
// that a measured width is the drawn width to the pixel.
PainterDeviceContext::Line PainterDeviceContext::layoutLine(std::string_view text) const {
    Line line;
    const QFontMetrics fm = metrics();
    std::vector<int> widths;
    if (justification_.breakCount > 0) {
        for (const std::string_view character : spacedCharacters(text)) {
            const QString cell = fromSjis(character);
            line.cellFrom.push_back(static_cast<int>(line.text.size()));
            widths.push_back(fm.horizontalAdvance(cell));
            line.text += cell;
        }
    } else {
        line.text = fromSjis(text);
        line.cellFrom.push_back(0);
        widths.push_back(fm.horizontalAdvance(line.text));
    }
    line.width =
        layoutRuns(widths, fm.horizontalAdvance(QLatin1Char(' ')), justification_, &line.cellStart);
    return line;
}

PainterDeviceContext::ShapedLine& PainterDeviceContext::shapedLine(std::string_view text) const {
    std::string key = fontKey_;
    key += '|' + std::to_string(justification_.extra) + ',' +
           std::to_string(justification_.breakCount) + '|';
    key += text;
    // Lines laid out so far, by font, resolution, justification and text.
    // A page is drawn again with the same texts after every edit in layout
    // mode, and shaping and measuring a line cost more than drawing it.
    using LineCache = std::unordered_map<std::string, ShapedLine>;
    static LineCache* const lines = [] {
        // The glyphs hold font engines, which must go before the
        // application's font database does.
        qAddPostRoutine([] { lines->clear(); });
        return new LineCache;
    }();
    LineCache& cache = *lines;
    auto found = cache.find(key);
    if (found == cache.end()) {
        if (cache.size() >= kLineCacheLimit) {
            cache.clear();
        }
        found = cache.emplace(std::move(key), ShapedLine{layoutLine(text), {}, false}).first;
    }
    return found->second;
}

QSize PainterDeviceContext::textExtent(std::string_view text) {
    return QSize(shapedLine(text).line.width, metrics().height());
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
    ShapedLine& shaped = shapedLine(text);
    const Line& line = shaped.line;
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

    // The glyphs are drawn without decoration; underline and strike-out are
    // drawn once across the whole line, separators and justification
    // included.
    if (!shaped.placed) {
        QFont glyphFont = font_;
        glyphFont.setUnderline(false);
        glyphFont.setStrikeOut(false);
        shaped.glyphs = placedGlyphs(line, glyphFont);
        shaped.placed = true;
    }
    painter_->setPen(textColor_);
    for (const QGlyphRun& run : shaped.glyphs) {
        painter_->drawGlyphRun(QPointF(x, baseline), run);
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

// The line's glyphs with each cell moved to its place, gathered into one
// run per font: a PDF then holds the line as one text, which its text layer
// reads as the characters they are, without a space between every two.
QList<QGlyphRun> PainterDeviceContext::placedGlyphs(const Line& line, const QFont& font) const {
    QTextLayout layout(line.text, font, device_);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    if (textLine.isValid()) {
        // Never wrapped; the width only has to be a valid one.
        textLine.setLineWidth(1e6);
        textLine.setPosition(QPointF(0, 0));
    }
    layout.endLayout();
    QList<QGlyphRun> placed;
    if (!textLine.isValid()) {
        return placed;
    }
    const QPointF origin(0, textLine.ascent());
    for (std::size_t cell = 0; cell < line.cellFrom.size(); ++cell) {
        const int from = line.cellFrom[cell];
        const int to = cell + 1 < line.cellFrom.size() ? line.cellFrom[cell + 1]
                                                       : static_cast<int>(line.text.size());
        const qreal shift = line.cellStart[cell] - textLine.cursorToX(from);
        for (const QGlyphRun& run : layout.glyphRuns(from, to - from)) {
            QList<QPointF> positions = run.positions();
            for (QPointF& position : positions) {
                position += QPointF(shift, 0) - origin;
            }
            auto same = std::find_if(placed.begin(), placed.end(), [&](const QGlyphRun& each) {
                return each.rawFont() == run.rawFont();
            });
            if (same == placed.end()) {
                QGlyphRun fresh;
                fresh.setRawFont(run.rawFont());
                placed.append(fresh);
                same = placed.end() - 1;
            }
            same->setGlyphIndexes(same->glyphIndexes() + run.glyphIndexes());
            same->setPositions(same->positions() + positions);
        }
    }
    return placed;
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
