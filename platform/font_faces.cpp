#include "platform/font_faces.h"

namespace belvorine {

void installFontSubstitutions() {
    QFont::insertSubstitution(QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
}

void nameFontsInJapanese() {
    if (qEnvironmentVariableIsEmpty("FC_LANG")) {
        qputenv("FC_LANG", "ja");
    }
}

QFont widgetFont(const QString& face, int pointSize) {
    if (face == QStringLiteral("ＭＳ Ｐゴシック")) {
        return QFont(QString::fromUtf8(kScreenTextFace), pointSize);
    }
    if (face == QStringLiteral("ＭＳ Ｐ明朝")) {
        return QFont(QStringLiteral("ＭＳ 明朝"), pointSize);
    }
    return QFont(face, pointSize);
}

}  // namespace belvorine
