#include "platform/font_list.h"

#include <string>

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>

#include "platform/sjis_text.h"

namespace belvorine {
namespace {

// Pitch and family bits of a font record.
constexpr std::uint8_t kFixedPitch = 0x01;
constexpr std::uint8_t kVariablePitch = 0x02;
constexpr std::uint8_t kFamilyDontCare = 0x00;
constexpr std::uint8_t kFamilyRoman = 0x10;
constexpr std::uint8_t kFamilyModern = 0x30;

struct KnownFace {
    const char* name;  // UTF-8
    std::uint8_t pitchAndFamily;
};

// The faces that stored layouts name; their IPA substitutes share the bits.
constexpr KnownFace kKnownFaces[] = {
    {"ＭＳ 明朝", kFixedPitch | kFamilyRoman},
    {"ＭＳ ゴシック", kFixedPitch | kFamilyModern},
    {"ＭＳ Ｐ明朝", kVariablePitch | kFamilyRoman},
    {"ＭＳ Ｐゴシック", kVariablePitch | kFamilyModern},
};

const KnownFace* knownFace(const QString& family) {
    for (const KnownFace& face : kKnownFaces) {
        const QString name = QString::fromUtf8(face.name);
        if (family == name || family == QFont::substitute(name)) {
            return &face;
        }
    }
    return nullptr;
}

// Guesses the family bits from the name the way the classic families
// group faces: Mincho and serif faces are roman, Gothic and sans modern.
std::uint8_t familyBits(const QString& family) {
    const QString name = family.toLower();
    if (name.contains(QLatin1String("sans")) || name.contains(QLatin1String("gothic")) ||
        name.contains(QStringLiteral("ゴシック"))) {
        return kFamilyModern;
    }
    if (name.contains(QLatin1String("serif")) || name.contains(QLatin1String("mincho")) ||
        name.contains(QStringLiteral("明朝"))) {
        return kFamilyRoman;
    }
    return kFamilyDontCare;
}

std::uint8_t pitchAndFamilyOf(const QString& family) {
    if (const KnownFace* face = knownFace(family)) {
        return face->pitchAndFamily;
    }
    const std::uint8_t pitch = QFontDatabase::isFixedPitch(family) ? kFixedPitch : kVariablePitch;
    return pitch | familyBits(family);
}

// Appends the face unless its name cannot be held by a font record.
void addFace(std::vector<FontFace>& faces, const QString& name, std::uint8_t pitchAndFamily) {
    std::string sjis;
    if (!toSjis(name, sjis) || sjis.empty() || sjis.size() >= sizeof(LogFont::faceName)) {
        return;
    }
    FontFace face;
    face.name = name;
    LogFont& font = face.logFont;
    font.height = 16;
    font.weight = 400;
    font.charSet = kShiftJisCharSet;
    font.outPrecision = 3;   // stroke precision
    font.clipPrecision = 2;  // stroke clipping
    font.quality = 1;        // draft quality
    font.pitchAndFamily = pitchAndFamily;
    copySjis(font.faceName, sjis);
    faces.push_back(face);
}

// The name with ASCII letters in lower case; other letters (full-width
// ones too) as they are.
QString asciiFolded(const QString& name) {
    QString folded = name;
    for (QChar& c : folded) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) {
            c = QChar(c.unicode() + ('a' - 'A'));
        }
    }
    return folded;
}

int indexWhere(const std::vector<FontFace>& faces, const auto& matches) {
    for (std::size_t i = 0; i < faces.size(); ++i) {
        if (matches(asciiFolded(faces[i].name))) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// The name the font database gives `family` in this session, or an empty
// string when it has no such family.
QString sessionFamilyName(const QString& family) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ||
        !QFontDatabase::hasFamily(family)) {
        return QString();
    }
    QFont font(family);
    font.setStyleStrategy(QFont::NoFontMerging);
    return QFontInfo(font).family();
}

}  // namespace

int findFontFace(const std::vector<FontFace>& faces, const QString& stored) {
    if (stored.isEmpty()) {
        return -1;
    }
    const QString wanted = asciiFolded(stored);
    int index = indexWhere(faces, [&](const QString& name) { return name == wanted; });
    if (index < 0) {
        const QString session = asciiFolded(sessionFamilyName(stored));
        if (!session.isEmpty()) {
            index = indexWhere(faces, [&](const QString& name) { return name == session; });
        }
    }
    if (index < 0) {
        index = indexWhere(faces, [&](const QString& name) { return name.startsWith(wanted); });
    }
    return index;
}

std::vector<FontFace> japaneseFontFaces() {
    std::vector<FontFace> faces;
    for (const KnownFace& face : kKnownFaces) {
        addFace(faces, QString::fromUtf8(face.name), face.pitchAndFamily);
    }
    // The font database needs a GUI application; without one (tools,
    // benchmarks) the faces above still let every stored record resolve.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return faces;
    }
    for (const QString& family : QFontDatabase::families(QFontDatabase::Japanese)) {
        const KnownFace* known = knownFace(family);
        if (known && family == QString::fromUtf8(known->name)) {
            continue;  // an installed "ＭＳ …" font is already listed
        }
        addFace(faces, family, pitchAndFamilyOf(family));
    }
    return faces;
}

}  // namespace belvorine
