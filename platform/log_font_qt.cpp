#include "platform/log_font_qt.h"

#include <algorithm>
#include <cmath>

#include <QFontMetricsF>

#include "platform/font_faces.h"
#include "platform/sjis_text.h"

namespace belvorine {
namespace {

int clampPixels(long long pixels) {
    return static_cast<int>(std::clamp<long long>(pixels, 1, kMaximumFontPixels));
}

// Em size whose ascent + descent is `cellHeight` pixels for this face.
int emForCellHeight(QFont font, int cellHeight) {
    constexpr int kReference = 100;
    font.setPixelSize(kReference);
    const QFontMetricsF metrics(font);
    const qreal cell = metrics.ascent() + metrics.descent();
    if (cell <= 0) {
        return clampPixels(cellHeight);
    }
    return clampPixels(std::llround(static_cast<qreal>(cellHeight) * kReference / cell));
}

}  // namespace

QString logFontFace(const LogFont& font) {
    return fromSjisBuffer(font.faceName);
}

QFont fontFromLogFont(const LogFont& record) {
    const int weight = record.weight <= 0 ? 400 : std::min(record.weight, 1000);
    const QString face = logFontFace(record);
    QFont font(weight >= QFont::Bold ? boldFamily(face) : face);
    font.setKerning(false);
    font.setItalic(record.italic != 0);
    font.setUnderline(record.underline != 0);
    font.setStrikeOut(record.strikeOut != 0);
    font.setWeight(static_cast<QFont::Weight>(weight));
    if (record.height < 0) {
        font.setPixelSize(clampPixels(-static_cast<long long>(record.height)));
    } else if (record.height > 0) {
        font.setPixelSize(emForCellHeight(font, record.height));
    } else {
        font.setPixelSize(kDefaultFontPixels);
    }
    return font;
}

}  // namespace belvorine
