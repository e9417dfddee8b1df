// The values built into the program and the fonts they are made from.

#include <gtest/gtest.h>

#include <cstring>

#include "data/factory_values.h"
#include "data/settings_fonts.h"
#include "platform/font_list.h"
#include "platform/sjis_text.h"

using namespace belvorine;

namespace {

std::string sjis(const char* utf8) {
    return toSjisLossy(QString::fromUtf8(utf8));
}

std::string_view textOf(int item) {
    return sjisView(factoryLayout()[item].text);
}

}  // namespace

TEST(FactoryLayout, TextsAreTheExactShiftJisBytes) {
    EXPECT_EQ(textOf(0), "");
    EXPECT_EQ(textOf(1), "\x92\x8D\x81\x40\x95\xB6\x81\x40\x8F\x91");  // 注　文　書
    EXPECT_EQ(textOf(4), " 8888\x94\x4E 88\x8C\x8E 88\x93\xFA");
    EXPECT_EQ(textOf(27), "     \x94\x4E   \x8C\x8E   \x93\xFA");
    EXPECT_EQ(textOf(7),
              "\x81\xA7"
              "000-0000");
    EXPECT_EQ(textOf(8),
              "\x81\x7E\x81\x7E\x8C\xA7\x81\xA2\x81\xA2\x8E\x73\x81\x9E\x81\x9E"
              "\x92\xAC\x82\x4F\x81\x7C\x82\x4F\x82\x4F");
    EXPECT_EQ(textOf(11), " %s\x81\x40\x8C\xE4\x92\x86");  // " %s　御中"
    for (int item : {17, 18, 19}) {
        const std::string_view text = textOf(item);
        EXPECT_EQ(text.substr(0, 12), "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40") << item;
        EXPECT_EQ(text.substr(12, 4), "\x92\x41\x82\xB5") << item;  // 但し
    }
    EXPECT_EQ(textOf(23),
              sjis("　本体金額及び消費税の端数は四捨五入して、円単位とさせて頂きます。"));
    for (int item : {0, 25, 26, 28, 29}) {
        EXPECT_EQ(textOf(item), "") << item;
    }
}

TEST(FactoryLayout, FramesAndFontRules) {
    const FormLayout& layout = factoryLayout();
    for (int i = 0; i < kLayoutItemCount; ++i) {
        const LayoutItem& item = layout[i];
        EXPECT_EQ(item.itemId, i);
        EXPECT_EQ(item.screenRect, Rect{}) << i;
        EXPECT_EQ(item.unused[0] | item.unused[1] | item.unused[2], 0) << i;
        // Nothing but zeros after the terminator.
        const std::size_t length = sjisView(item.text).size();
        for (std::size_t b = length; b < sizeof item.text; ++b) {
            ASSERT_EQ(item.text[b], '\0') << i;
        }
    }
    // Rows that differ from their neighbours.
    EXPECT_EQ(layout[0].pointSize, 1);
    EXPECT_EQ(layout[0].underline, 1);
    EXPECT_EQ(layout[11].sizeRule, kSizeFitWidth);
    EXPECT_EQ(layout[13].mmRect, (Rect{900, 3300, 7800, 3600}));
    EXPECT_EQ(layout[26].mmRect, (Rect{500, 7000, 20400, 13000}));
    // Frame groups start out sharing their frame.
    EXPECT_EQ(layout[16].mmRect, layout[14].mmRect);
    EXPECT_EQ(layout[19].mmRect, layout[17].mmRect);
}

TEST(FactoryRecords, WindowListAndPageDefaults) {
    const InitialData data = factoryInitialData();
    EXPECT_EQ(data.showState, 9);
    EXPECT_EQ(data.windowX, INT32_MIN);
    EXPECT_EQ(data.windowY, INT32_MIN);
    EXPECT_EQ(data.windowWidth, 800);
    EXPECT_EQ(data.windowHeight, 700);
    EXPECT_EQ(data.zoomPercent, 100);
    EXPECT_EQ(data.formatIndex, 0);
    EXPECT_EQ(sjisView(data.reservedText), "\x81\x7E\x81\x40\x8A\x94\x8E\xAE\x89\xEF\x8E\xD0");
    EXPECT_EQ(data.rowCount + data.counterpartyCount, 0);

    const ListDialogSettings list = factoryListDialogSettings();
    const std::int32_t expected[9] = {9, 870, 400, 500, 40, 90, 90, 150, 30};
    EXPECT_EQ(std::memcmp(&list, expected, sizeof expected), 0);

    for (int format : {0, 1}) {
        const PageSettings page = makeFactoryPageSettings(format);
        EXPECT_EQ(page.reserved260, 1);
        EXPECT_EQ(page.paperSize, 9);
        EXPECT_EQ(page.paperSource, 7);
        EXPECT_EQ(page.marginTop.maximum, 5000);
        EXPECT_EQ(page.makeAcknowledgement + page.showTotal + page.approvalOnCopy, 0);
        EXPECT_EQ(sjisView(page.font.faceName), sjis("ＭＳ 明朝"));
        EXPECT_EQ(page.font.width, 0);
    }
}

TEST(FontList, EveryEntryIsACompleteJapaneseFontRecord) {
    const std::vector<FontFace> faces = japaneseFontFaces();
    ASSERT_GE(faces.size(), 4u);
    const char* first[] = {"ＭＳ 明朝", "ＭＳ ゴシック", "ＭＳ Ｐ明朝", "ＭＳ Ｐゴシック"};
    const std::uint8_t bits[] = {0x11, 0x31, 0x12, 0x32};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(faces[i].name, QString::fromUtf8(first[i]));
        EXPECT_EQ(faces[i].logFont.pitchAndFamily, bits[i]) << first[i];
    }
    for (const FontFace& face : faces) {
        const LogFont& font = face.logFont;
        EXPECT_EQ(fromSjisBuffer(font.faceName), face.name);
        EXPECT_LT(sjisView(font.faceName).size(), sizeof font.faceName);
        EXPECT_EQ(font.charSet, 128);
        EXPECT_EQ(font.weight, 400);
        EXPECT_GT(font.height, 0);
        EXPECT_EQ(font.width, 0);
        EXPECT_EQ(font.outPrecision, 3);
        EXPECT_EQ(font.clipPrecision, 2);
        EXPECT_EQ(font.quality, 1);
        const int pitch = font.pitchAndFamily & 0x0F;
        EXPECT_TRUE(pitch == 1 || pitch == 2) << face.name.toStdString();
    }
}

TEST(FontFromFace, CopiesTheListedRecordOrLeavesTheDestination) {
    LogFont font;
    font.width = 99;
    ASSERT_EQ(makeFontFromFace(font, sjis("ＭＳ Ｐゴシック")), 1);
    EXPECT_EQ(sjisView(font.faceName), sjis("ＭＳ Ｐゴシック"));
    EXPECT_EQ(font.pitchAndFamily, 0x32);
    EXPECT_EQ(font.width, 0);

    const LogFont before = font;
    EXPECT_EQ(makeFontFromFace(font, "No Such Face"), 0);
    EXPECT_EQ(makeFontFromFace(font, ""), 0);
    // A name longer than any face record can hold is simply not found.
    EXPECT_EQ(makeFontFromFace(font, std::string(40, 'x')), 0);
    EXPECT_EQ(std::memcmp(&font, &before, sizeof font), 0);
}
