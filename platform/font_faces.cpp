#include "platform/font_faces.h"

#include <algorithm>

#include <QFontDatabase>
#include <QHash>

namespace belvorine {
namespace {

bool hasRealBold(const QString& family) {
    const QStringList styles = QFontDatabase::styles(family);
    return std::any_of(styles.begin(), styles.end(), [&family](const QString& style) {
        return QFontDatabase::weight(family, style) >= QFont::Bold;
    });
}

// Families whose full-width characters have the IPA faces' widths and whose
// bold is a face of its own; the Gothic's fixed-pitch twin keeps its
// half-width characters at half an em too.
QString boldCompanion(const QString& family) {
    static const QHash<QString, QString> companions = {
        {QStringLiteral("IPAMincho"), QStringLiteral("Noto Serif CJK JP")},
        {QStringLiteral("IPAPMincho"), QStringLiteral("Noto Serif CJK JP")},
        {QStringLiteral("IPAexMincho"), QStringLiteral("Noto Serif CJK JP")},
        {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP")},
        {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")},
        {QStringLiteral("IPAexGothic"), QStringLiteral("Noto Sans CJK JP")},
    };
    return companions.value(family);
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
        if (!companion.isEmpty() && hasRealBold(companion)) {
            bold = companion;
        }
    }
    known.insert(family, bold);
    return bold;
}

}  // namespace belvorine
