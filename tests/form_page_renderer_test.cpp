// The page renderer, checked through the recording drawing surface.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "data/factory_values.h"
#include "data/order_record.h"
#include "data/settings_state.h"
#include "form/layout_preparation.h"
#include "form/page_geometry.h"
#include "form/page_renderer.h"
#include "form/text_fitting.h"
#include "form/units.h"
#include "page_geometries.h"
#include "platform/recording_device_context.h"
#include "platform/screen_metrics.h"
#include "platform/sjis_text.h"

using namespace belvorine;
using Kind = RecordedCall::Kind;
using belvorine::test::a4At600;
using belvorine::test::screenAt96;

namespace {

std::string sjis(const char* utf8) {
    return toSjisLossy(QString::fromUtf8(utf8));
}

// The text as drawFrame draws it: one half-width space between characters.
std::string spaced(const std::string& text) {
    std::string out;
    spaceOut(text, out);
    return out;
}

void fillLine(OrderLine& line, const char* name, const char* quantity, const char* unit,
              const char* price, const char* amount) {
    copySjis(line.nameLine1, sjis(name));
    copySjis(line.quantity, quantity);
    copySjis(line.unit, sjis(unit));
    copySjis(line.unitPrice, price);
    copySjis(line.amount, amount);
    copySjis(line.deliveryDateLine1, sjis("2026年"));
    copySjis(line.deliveryDateLine2, sjis("12月24日"));
    copySjis(line.deliveryPlaceLine1, sjis("本社工場"));
}

class Renderer : public ::testing::Test {
protected:
    void SetUp() override {
        resetSettingsStateForTesting();
        screenMetrics() = ScreenMetrics{96, 96, 1920, 1080};
        for (int format = 0; format < kFormatCount; ++format) {
            settings().liveLayout[format] = factoryLayout();
            settings().printerSettings[format] = makeFactoryPageSettings(format);
            settings().displaySettings[format] = makeFactoryPageSettings(format);
            printerGeometry(format) = a4At600();
            prepareLayout(format, liveLayout(format));
        }
        resetLongestCounterparties();
        currentOrder() = OrderRecord{};
        copySjis(currentOrder().year, "2026");
        copySjis(currentOrder().month, "12");
        copySjis(currentOrder().day, "7");
        copySjis(currentOrder().counterparty, sjis("山田商事株式会社"));
        copySjis(currentOrder().paymentText, "60");
        currentOrder().paymentKind = kPaymentNote;
    }

    PageSettings& display() { return displaySettings(0); }
    LayoutItem& item(int index) { return liveLayout(0)[index]; }

    void draw(int kind, int scale = 100) {
        dc.clear();
        drawFormPage(dc, screenAt96(), display(), scale, kind);
    }

    std::vector<RecordedCall> texts() const { return dc.callsOf(Kind::DrawText); }
    bool drew(const std::string& text) const {
        const auto all = texts();
        return std::any_of(all.begin(), all.end(),
                           [&](const RecordedCall& c) { return c.text == spaced(text); });
    }
    RecordedCall textCall(const std::string& text) const {
        for (const RecordedCall& c : texts()) {
            if (c.text == spaced(text)) {
                return c;
            }
        }
        ADD_FAILURE() << "not drawn";
        return {};
    }
    // Horizontal lines across the whole table, by y.
    std::vector<int> tableRules() const {
        const Rect& table = liveLayout(0)[26].screenRect;
        std::vector<int> ys;
        for (const RecordedCall& c : dc.callsOf(Kind::LineTo)) {
            if (c.from.y() == c.to.y() && c.from.x() == table.left && c.to.x() == table.right) {
                ys.push_back(c.to.y());
            }
        }
        std::sort(ys.begin(), ys.end());
        ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
        return ys;
    }
    int tableBottom() const {
        int bottom = 0;
        for (const RecordedCall& c : dc.callsOf(Kind::LineTo)) {
            if (c.from.x() == c.to.x()) {
                bottom = std::max(bottom, std::max(c.from.y(), c.to.y()));
            }
        }
        return bottom;
    }

    RecordingDeviceContext dc;
};

}  // namespace

TEST_F(Renderer, AnOrderWithoutLinesEndsTheTableUnderTheHeading) {
    draw(kDocumentOrder);
    const Rect table = item(26).screenRect;
    const int ph = ((table.bottom - table.top) * 1000 / 238 + 5) / 10;
    const int headingBottom = table.top + 18 * ph / 100;
    EXPECT_EQ(tableBottom(), headingBottom);
    EXPECT_TRUE(drew(sjis("品　　　　名")));
    EXPECT_FALSE(drew(sjis("合       計")));
}

TEST_F(Renderer, WithTheTotalAnEmptyOrderStillDrawsFiveRulesAndAZeroTotal) {
    display().showTotal = 1;
    draw(kDocumentOrder);
    const Rect table = item(26).screenRect;
    const int ph = ((table.bottom - table.top) * 1000 / 302 + 5) / 10;
    std::vector<int> expected = {table.top};        // the total box's line
    expected.push_back(table.top + 30 * ph / 100);  // heading top
    for (int r = 0; r <= 5; ++r) {
        expected.push_back(table.top + (48 + 44 * r) * ph / 100);  // heading bottom, line rules
    }
    expected.push_back(table.top + (30 + 272) * ph / 100);  // total row's bottom
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(tableRules(), expected);
    EXPECT_TRUE(drew(sjis("合 計 金 額    ￥0.－")));
    EXPECT_TRUE(drew(sjis("0円")));
    EXPECT_TRUE(drew(sjis("合       計")));
}

TEST_F(Renderer, TheTotalOnThePageAddsTheDrawnLinesInSixtyFourBits) {
    display().showTotal = 1;
    const char* amounts[] = {" 2147483646", "Over Flow", " 2147483646", "", "  100"};
    for (int i = 0; i < kOrderLineCount; ++i) {
        copySjis(currentOrder().lines[i].nameLine1, "x");
        copySjis(currentOrder().lines[i].amount, amounts[i]);
    }
    // A line without a first name line is not drawn and not counted.
    currentOrder().lines[4].nameLine1[0] = '\0';
    draw(kDocumentOrder);
    EXPECT_TRUE(drew(sjis("4,294,967,292円")));
    EXPECT_TRUE(drew(sjis("合 計 金 額    ￥4,294,967,292.－")));
}

TEST_F(Renderer, AnEmptyLineStaysBlankAndTheTableEndsBelowTheLastLine) {
    OrderRecord& order = currentOrder();
    fillLine(order.lines[0], "ボルト", "       3", "個", "  120.00", "          360");
    fillLine(order.lines[1], "ナット", "       1", "式", " 1500.00", "         1500");
    fillLine(order.lines[3], "ワッシャー", "    1000", "枚", "    2.50", "         2500");
    fillLine(order.lines[4], "スペーサー", "      10", "本", "   80.00", "          800");
    draw(kDocumentOrder);
    const Rect table = item(26).screenRect;
    const int ph = ((table.bottom - table.top) * 1000 / 238 + 5) / 10;
    EXPECT_EQ(tableBottom(), table.top + (18 + 44 * 5) * ph / 100);
    EXPECT_TRUE(drew(sjis("一式 ")));
    EXPECT_TRUE(drew(sjis("1,000枚")));
    EXPECT_TRUE(drew(sjis("1,500円")));
    // Four lines drawn: four thin rules below them, none below line 3.
    const int line3Rule = table.top + (18 + 44 * 3) * ph / 100;
    const auto rules = tableRules();
    EXPECT_EQ(std::count(rules.begin(), rules.end(), line3Rule), 0);
}

// Frames whose numbers came from nowhere sane (the loader bounds what it
// reads; the layout editor and other paths might not) draw without signed
// overflow: the sanitizer build reports any.
TEST_F(Renderer, AbsurdFramesDrawWithoutOverflow) {
    fillLine(currentOrder().lines[0], "ボルト", "       3", "個", "  120.00", "          360");
    item(26).screenRect = Rect{-2000000000, -2000000000, 2000000000, 2000000000};
    item(5).pointSize = -2000000000;
    item(4).sizeRule = kSizeFitHeight;
    item(4).screenRect = Rect{0, -2000000000, 100, 2000000000};
    draw(kDocumentOrder);
    EXPECT_TRUE(drew(sjis("ボルト")));
}

TEST_F(Renderer, CellsShrinkWithTheTable) {
    fillLine(currentOrder().lines[0], "ボルト", "       3", "個", "  120.00", "          360");
    Rect& table = item(26).screenRect;
    table.right = table.left + 750;
    table.bottom = table.top + 238;
    draw(kDocumentOrder);
    EXPECT_EQ(textCall(sjis("ボルト")).font.height, -12);  // 9 points at 96 dpi

    table.right = table.left + 375;
    draw(kDocumentOrder);
    EXPECT_EQ(textCall(sjis("ボルト")).font.height, -5);  // 9 × 50 / 100 = 4 points
}

TEST_F(Renderer, ANoteDrawsItsSentenceInItem14sFrameWithItsProviso) {
    draw(kDocumentOrder);
    const RecordedCall sentence = textCall(sjis("○支払条件：当月末締翌月末起算 60 日手形"));
    // The margin box lies at the device's corner, so device and screen
    // pixels coincide at scale 100.
    EXPECT_EQ(sentence.rect.left(), item(14).screenRect.left);
    EXPECT_EQ(sentence.rect.top(), item(14).screenRect.top);
    EXPECT_TRUE(drew(std::string(sjisView(item(17).text))));
    EXPECT_FALSE(drew(std::string(sjisView(item(18).text))));

    currentOrder().paymentKind = kPaymentLease;
    draw(kDocumentOrder);
    EXPECT_TRUE(drew(sjis("○支払条件：リース扱い")));
    EXPECT_TRUE(drew(std::string(sjisView(item(18).text))));
    currentOrder().paymentKind = 7;  // anything else is cash
    draw(kDocumentOrder);
    EXPECT_TRUE(drew(sjis("○支払条件：現金")));
}

TEST_F(Renderer, TheDateIsPaddedAsPrinted) {
    copySjis(currentOrder().month, "5");
    copySjis(currentOrder().day, "12");
    draw(kDocumentOrder);
    EXPECT_TRUE(drew(sjis(" 2026年 05月 12日")));

    copySjis(currentOrder().year, "");
    copySjis(currentOrder().day, "");
    draw(kDocumentOrder);
    EXPECT_TRUE(drew(sjis("     年 05月 00日")));
}

TEST_F(Renderer, TheApprovalNumberShowsOnlyOnACopyThatHasOne) {
    draw(kDocumentOrderCopy);
    EXPECT_FALSE(drew(sjis("決裁No. ")));
    copySjis(currentOrder().approvalNo, "A-123");
    draw(kDocumentOrder);
    EXPECT_FALSE(drew(sjis("決裁No. A-123")));
    draw(kDocumentOrderCopy);
    EXPECT_TRUE(drew(sjis("決裁No. A-123")));
    draw(kDocumentAcknowledgement);
    EXPECT_FALSE(drew(sjis("決裁No. A-123")));
}

TEST_F(Renderer, TheAcknowledgementIsAddressedToTheIssuer) {
    draw(kDocumentAcknowledgement);
    EXPECT_TRUE(drew(sjis("注　文　請　書")));
    EXPECT_TRUE(drew(sjis(" ×△◇株式会社　御中")));
    EXPECT_FALSE(drew(sjis(" 山田商事株式会社　御中")));
    EXPECT_TRUE(drew(sjis("印")));
    EXPECT_TRUE(drew(sjis("紙")));
    EXPECT_FALSE(dc.callsOf(Kind::SetDottedPen).empty());

    draw(kDocumentOrder);
    EXPECT_TRUE(drew(sjis(" 山田商事株式会社　御中")));
    EXPECT_FALSE(drew(sjis("印")));
}

TEST_F(Renderer, PensAreAtLeastOnePixelAtSmallScales) {
    display().showTotal = 1;
    draw(kDocumentOrder, 40);
    for (const RecordedCall& c : dc.callsOf(Kind::SetSolidPen)) {
        EXPECT_EQ(c.penWidth, 0);  // 40 / 100 and 80 / 100: the one-pixel pen
    }
    draw(kDocumentOrder, 625);
    std::vector<int> widths;
    for (const RecordedCall& c : dc.callsOf(Kind::SetSolidPen)) {
        widths.push_back(c.penWidth);
    }
    EXPECT_NE(std::find(widths.begin(), widths.end(), 6), widths.end());
    EXPECT_NE(std::find(widths.begin(), widths.end(), 12), widths.end());
}

TEST_F(Renderer, OtherPercentSequencesInTemplatesAreDrawnLiterally) {
    copySjis(item(11).text, sjis(" %d %n %s　御中 %s"));
    draw(kDocumentOrder);
    EXPECT_TRUE(drew(sjis(" %d %n 山田商事株式会社　御中 %s")));

    copySjis(item(14).text, sjis("○支払 %x %s 日 %%"));
    draw(kDocumentOrder);
    EXPECT_TRUE(drew(sjis("○支払 %x 60 日 %%")));
}

TEST_F(Renderer, ALongFilledTemplateIsCutAtACharacterBoundary) {
    std::string longName;
    while (longName.size() < 254) {
        longName += sjis("株");
    }
    copySjis(currentOrder().counterparty, longName);
    char out[256];
    fillTemplate(out, item(11).text, currentOrder().counterparty);
    const std::string filled(out);
    EXPECT_LE(filled.size(), 255u);
    EXPECT_EQ(sjisPrefixLength(filled, 255), filled.size());
    draw(kDocumentOrder);  // never overruns the copy of the layout
}

TEST_F(Renderer, TheFormViewPassDrawsTheFormatNameAndSetsTheExtents) {
    FormViewPass pass{8, 16, 0, 0, {}};
    drawFormPage(dc, screenAt96(), display(), 100, kDocumentOrder, &pass);
    const RecordedCall first = dc.callsOf(Kind::DrawText).front();
    EXPECT_EQ(first.text, sjis("書式１"));
    EXPECT_EQ(first.color, QColor(255, 0, 0));
    EXPECT_GT(pass.horizontalExtent, 0);
    EXPECT_EQ(pass.verticalExtent, tableBottom() / 16 + 1);
}

TEST_F(Renderer, TheLayoutEditorsAddresseeReplacesTheCounterpartyOnlyOnTheOrderAndItsCopy) {
    const std::string longest = sjis(" 東西南北総合商事株式会社　御中");
    for (int kind : {kDocumentOrder, kDocumentOrderCopy, kDocumentAcknowledgement}) {
        dc.clear();
        drawFormPage(dc, screenAt96(), display(), 100, kind, nullptr, longest.c_str());
        EXPECT_EQ(drew(longest), kind != kDocumentAcknowledgement) << kind;
        EXPECT_FALSE(drew(sjis(" 山田商事株式会社　御中"))) << kind;
    }
    EXPECT_STREQ(item(11).text, sjis(" %s　御中").c_str());
}

namespace {

// The drawn text whose first characters (spaced out) are `prefix`.
RecordedCall drawnStartingWith(const RecordingDeviceContext& dc, const std::string& prefix) {
    for (const RecordedCall& c : dc.callsOf(Kind::DrawText)) {
        if (c.text.rfind(spaced(prefix), 0) == 0) {
            return c;
        }
    }
    ADD_FAILURE() << "not drawn";
    return {};
}

bool staysInItsFrame(const RecordedCall& text) {
    return text.drawnLine.left() >= text.rect.left() &&
           text.drawnLine.left() + text.drawnLine.width() <= text.rect.left() + text.rect.width();
}

}  // namespace

TEST_F(Renderer, FitToWidthTitlesPrintAtTheGroupsOneSize) {
    for (int title = 1; title <= 3; ++title) {
        item(title).sizeRule = kSizeFitWidth;
    }
    const int size = groupFitPointSize(liveLayout(0), 1);
    ASSERT_LT(size, fitPointSize(item(1))) << "注　文　書 alone would be larger";
    for (int kind = kDocumentOrder; kind <= kDocumentAcknowledgement; ++kind) {
        draw(kind);
        EXPECT_EQ(drawnStartingWith(dc, sjis("注")).font.height, -mulDiv(size, 96, 72)) << kind;
    }
}

TEST_F(Renderer, TheAddresseeIsSizedForTheLineItDrawsAndNotRuinedByOneOverlongName) {
    // A counterparty longer than every one printed so far, before its first
    // print: the whole line with its "御中" stays in the frame.
    copySjis(longestCounterparty(0), 256, sjis("山田"));
    copySjis(currentOrder().counterparty, sjis("ベルヴォリン精機工業株式会社　東京支店"));
    draw(kDocumentOrder);
    EXPECT_TRUE(staysInItsFrame(drawnStartingWith(dc, sjis(" ベルヴォリン"))));

    // The acknowledgement names the issuer, here longer than any counterparty.
    printerSettings(0).makeAcknowledgement = 1;
    copySjis(item(5).text, sjis("ベルヴォリン精機工業株式会社　本社"));
    draw(kDocumentAcknowledgement);
    EXPECT_TRUE(staysInItsFrame(drawnStartingWith(dc, sjis(" ベルヴォリン"))));

    // One name of 60 characters in the history shrinks a usual one no
    // further than 10 points; the long name itself still fits its frame.
    std::string overlong;
    for (int i = 0; i < 60; ++i) {
        overlong += sjis("株");
    }
    copySjis(longestCounterparty(0), 256, overlong);
    copySjis(currentOrder().counterparty, sjis("山田商事株式会社"));
    draw(kDocumentOrder);
    EXPECT_LE(drawnStartingWith(dc, sjis(" 山田")).font.height, -mulDiv(10, 96, 72));
    copySjis(currentOrder().counterparty, overlong);
    draw(kDocumentOrder);
    EXPECT_TRUE(staysInItsFrame(drawnStartingWith(dc, sjis(" 株株"))));
}
