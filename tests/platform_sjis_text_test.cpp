// Shift-JIS conversion and fixed-buffer copies.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/sjis_text.h"

using namespace belvorine;

namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int value : values) {
        out.push_back(static_cast<char>(value));
    }
    return out;
}

}  // namespace

TEST(SjisConversion, EveryCodePage932CharacterRoundTripsThroughUnicode) {
    int characters = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string code = bytes({lead, trail});
            const QString text = fromSjis(code);
            if (text.size() != 1 || text.at(0) == QChar(0xFFFD)) {
                continue;  // not a character of the code page
            }
            ++characters;
            std::string back;
            ASSERT_EQ(toSjis(text, back), 1) << std::hex << lead << trail;
            EXPECT_EQ(fromSjis(back), text) << std::hex << lead << trail;
        }
    }
    // JIS X 0208, NEC row 13, NEC-selected and IBM extensions, user area.
    EXPECT_EQ(characters, 9604);
}

TEST(SjisConversion, ExtensionRowsAndHalfWidthKatakanaAreKept) {
    struct Case {
        const char* text;
        std::string code;
    };
    const Case cases[] = {
        {"①", bytes({0x87, 0x40})},        // NEC row 13
        {"㈱", bytes({0x87, 0x8A})},        // NEC row 13
        {"髙", bytes({0xFB, 0xFC})},        // IBM extension
        {"﨑", bytes({0xFA, 0xB1})},        // IBM extension
        {"ﾘｰｽ", bytes({0xD8, 0xB0, 0xBD})},  // half-width katakana
        {"注文書", bytes({0x92, 0x8D, 0x95, 0xB6, 0x8F, 0x91})},
    };
    for (const Case& c : cases) {
        std::string out;
        ASSERT_EQ(toSjis(QString::fromUtf8(c.text), out), 1) << c.text;
        EXPECT_EQ(out, c.code) << c.text;
        EXPECT_EQ(fromSjis(c.code), QString::fromUtf8(c.text));
    }
}

TEST(SjisConversion, UnrepresentableCharactersAreReportedNotReplaced) {
    std::string out = "previous";
    EXPECT_EQ(toSjis(QString::fromUtf8("注文😀書"), out), 0);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(firstUnrepresentable(QString::fromUtf8("株式会社한국")), QString::fromUtf8("한"));
    EXPECT_EQ(firstUnrepresentable(QString::fromUtf8("a😀")), QString::fromUtf8("😀"));
    EXPECT_TRUE(firstUnrepresentable(QString::fromUtf8("株式会社ｶﾌﾞｼｷ")).isEmpty());
    EXPECT_EQ(toSjisLossy(QString::fromUtf8("A😀B")), "AB");
}

TEST(SjisConversion, UndefinedBytesDecodeAsReplacementAndGoOn) {
    const QString text = fromSjis(bytes({'A', 0x85, 0x40, 'B', 0xFF, 'C'}));
    EXPECT_EQ(text, QStringLiteral("A\uFFFDB\uFFFDC"));
}

TEST(SjisBuffers, CopyNeverSplitsADoubleByteCharacter) {
    const std::string text = toSjisLossy(QString::fromUtf8("あいう"));
    char small[4];
    EXPECT_EQ(copySjis(small, text), 2u);
    EXPECT_EQ(std::string(small), toSjisLossy(QString::fromUtf8("あ")));

    char exact[7];
    EXPECT_EQ(copySjis(exact, text), 6u);
    EXPECT_EQ(std::string(exact), text);

    const std::string mixed = "a" + toSjisLossy(QString::fromUtf8("漢")) + "b";
    char two[3];
    EXPECT_EQ(copySjis(two, mixed), 1u);  // "a", never "a" and half a kanji
    EXPECT_STREQ(two, "a");
}

TEST(SjisBuffers, ViewStopsAtTheBufferEndWithoutATerminator) {
    char full[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(sjisView(full), "abcd");
    char shorter[4] = {'a', 0, 'c', 'd'};
    EXPECT_EQ(sjisView(shorter), "a");
    EXPECT_EQ(fromSjisBuffer(full), QStringLiteral("abcd"));
}

TEST(SjisBuffers, PrefixLengthCountsALoneLeadByteAtTheEndAsOneByte) {
    const std::string text = bytes({'x', 0x82});
    EXPECT_EQ(sjisPrefixLength(text, 10), 2u);
    EXPECT_EQ(sjisPrefixLength(text, 1), 1u);
}
