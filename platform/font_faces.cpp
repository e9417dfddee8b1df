#include "platform/font_faces.h"

#include <algorithm>

#include <QFontDatabase>
#include <QHash>
#include <QRawFont>

namespace belvorine {
namespace {

bool hasRealBold(const QString& family) {
    const QStringList styles = QFontDatabase::styles(family);
    return std::any_of(styles.begin(), styles.end(), [&family](const QString& style) {
        return QFontDatabase::weight(family, style) >= QFont::Bold;
    });
}

// Whether a PDF's text layer reads `family`'s characters back as
// themselves: a font whose ideographs share their glyphs with the Kangxi
// radicals (文 and ⽂) is read back as radicals, since the text layer maps
// each glyph to the first character that names it.
bool readsBackAsItself(const QString& family) {
    QFont font(family);
    font.setWeight(QFont::Bold);
    const QRawFont raw = QRawFont::fromFont(font);
    const QList<quint32> ideographs = raw.glyphIndexesForString(QStringLiteral("文日月工"));
    const QList<quint32> radicals = raw.glyphIndexesForString(QStringLiteral("⽂⽇⽉⼯"));
    for (qsizetype i = 0; i < ideographs.size() && i < radicals.size(); ++i) {
        if (ideographs[i] != 0 && ideographs[i] == radicals[i]) {
            return false;
        }
    }
    return true;
}

// Families with a bold face of their own whose characters have the IPA
// Gothic faces' widths (MigMix is built from IPA Gothic and M+); keyed in
// lower case, as Qt gives substitutes back. No packaged Mincho has a bold
// that a PDF reads back whole, so the Mincho faces keep Qt's bold.
QString boldCompanion(const QString& family) {
    static const QHash<QString, QString> companions = {
        {QStringLiteral("ipagothic"), QStringLiteral("MigMix 1M")},
        {QStringLiteral("ipapgothic"), QStringLiteral("MigMix 1P")},
        {QStringLiteral("ipaexgothic"), QStringLiteral("MigMix 1P")},
    };
    return companions.value(family.toLower());
}

}  // namespace

void installFontSubstitutions() {
    // Qt thickens a face that has no bold of its own only below 64 pixels:
    // a bold title at 180 % or on paper is larger and came out thin.
    qputenv("QT_NO_SYNTHESIZED_BOLD_LIMIT", "1");
    QFont::insertSubstitution(QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
}

QFont faceFont(const QString& face, int pointSize) {
    QFont font(face, pointSize);
    return font;
}

QString boldFamily(const QString& family) {
    // Asked for every font a page makes; the installed fonts do not change
    // while the program runs.
    static QHash<QString, QString> known;
    const auto found = known.constFind(family);
    if (found != known.constEnd()) {
        return *found;
    }
    const QString drawn = QFont::substitute(family);
    QString bold = family;
    if (!hasRealBold(drawn)) {
        const QString companion = boldCompanion(drawn);
        if (!companion.isEmpty() && hasRealBold(companion) && readsBackAsItself(companion)) {
            bold = companion;
        }
    }
    known.insert(family, bold);
    return bold;
}

}  // namespace belvorine
