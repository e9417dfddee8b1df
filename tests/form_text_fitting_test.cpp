// Text fitting: spacing out, the fit-to-width size, and drawFrame's target
// widths, shrinking and spread, read back from the recording surface and
// from pixels of a real bitmap.

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include <QImage>

#include "data/layout_model.h"
#include "data/order_record.h"
#include "data/settings_state.h"
#include "form/text_fitting.h"
#include "form/units.h"
#include "platform/painter_device_context.h"
#include "platform/recording_device_context.h"
#include "platform/screen_metrics.h"
#include "platform/sjis_text.h"
#include "tests/image_ink.h"

namespace belvorine {
namespace {

using Kind = RecordedCall::Kind;

std::string sjis(const QString& text) {
    return toSjisLossy(text);
}

class TextFitting : public ::testing::Test {
protected:
    void SetUp() override {
        resetSettingsStateForTesting();
        screenMetrics().dpiX = 96;
        screenMetrics().dpiY = 96;
        for (int format = 0; format < kFormatCount; ++format) {
            copySjis(printerSettings(format).font.faceName, sjis(QStringLiteral("ＭＳ 明朝")));
            printerSettings(format).font.charSet = kShiftJisCharSet;
            copySjis(longestCounterparty(format), 256, sjis(QStringLiteral("××　株式会社")));
        }
        settingsFont = printerSettings(0);
    }
    void TearDown() override {
        resetSettingsStateForTesting();
        screenMetrics() = ScreenMetrics();
        for (int format = 0; format < kFormatCount; ++format) {
            longestCounterparty(format)[0] = '\0';
        }
    }

    // A frame at (left, top)-(right, bottom) screen pixels whose paper
    // rectangle has the same size at 96 dpi.
    static LayoutItem frame(const QString& text, int rule, int left, int top, int right,
                            int bottom) {
        LayoutItem item;
        item.itemId = 1;
        copySjis(item.text, sjis(text));
        item.sizeRule = rule;
        item.pointSize = 10;
        item.weight = 400;
        item.screenRect = Rect{left, top, right, bottom};
        item.mmRect =
            Rect{0, 0, toHundredthsMm(right - left, 96), toHundredthsMm(bottom - top, 96)};
        return item;
    }

    static RecordedCall onlyDrawnText(const RecordingDeviceContext& dc) {
        const auto texts = dc.callsOf(Kind::DrawText);
        EXPECT_EQ(texts.size(), 1u);
        return texts.empty() ? RecordedCall() : texts.front();
    }

    PageSettings settingsFont;
};

TEST(SpaceOut, PutsOneSpaceBetweenCharactersAndCountsTheSeparators) {
    std::string out;
    EXPECT_EQ(spaceOut(sjis(QStringLiteral("注文書")), out), 2);
    EXPECT_EQ(fromSjis(out), QStringLiteral("注 文 書"));
    // The text's own half-width space is a character, not a break.
    EXPECT_EQ(spaceOut(sjis(QStringLiteral("a b")), out), 2);
    EXPECT_EQ(out, "a   b");
    EXPECT_EQ(spaceOut(sjis(QStringLiteral("注　書")), out), 2);
    EXPECT_EQ(fromSjis(out), QStringLiteral("注 　 書"));
}

TEST(SpaceOut, EdgeTexts) {
    std::string out = "old";
    EXPECT_EQ(spaceOut("", out), 0);
    EXPECT_EQ(out, "");
    EXPECT_EQ(spaceOut(sjis(QStringLiteral("注")), out), 0);
    EXPECT_EQ(out.size(), 2u);
    // A lead byte at the end stands alone instead of swallowing nothing.
    EXPECT_EQ(spaceOut("a\x92", out), 1);
    EXPECT_EQ(out, "a \x92");
}

TEST(SpaceOut, LongestTextDoublesLessOne) {
    const std::string text(255, 'x');
    std::string out;
    EXPECT_EQ(spaceOut(text, out), 254);
    EXPECT_EQ(out.size(), 509u);
}

TEST_F(TextFitting, LongestAddresseeFillsTheTemplate) {
    EXPECT_EQ(fromSjis(longestAddressee(0)), QStringLiteral(" ××　株式会社　御中"));
    // A counterparty of 255 bytes gives 262 bytes, more than a frame holds.
    std::string name(255, 'A');
    copySjis(longestCounterparty(1), 256, name);
    EXPECT_EQ(longestAddressee(1).size(), 262u);
}

TEST_F(TextFitting, FitPointSizeIsTheLargestSizeNarrowerThanTheFrame) {
    LayoutItem item = frame(QStringLiteral("注文書"), kSizeFitWidth, 0, 0, 300, 40);
    const int size = fitPointSize(item);
    ASSERT_GT(size, 1);

    QImage display(1, 1, QImage::Format_ARGB32_Premultiplied);
    PainterDeviceContext dc(&display);
    const auto widthAt = [&](int points) {
        LogFont font = printerSettings(0).font;
        font.height = -mulDiv(points, 96, 72);
        font.weight = item.weight;
        dc.selectFont(font);
        return toHundredthsMm(dc.textExtent(item.text).width() + 1, 96);
    };
    const int frameWidth = item.mmRect.right - item.mmRect.left;
    EXPECT_LT(widthAt(size), frameWidth);
    EXPECT_GE(widthAt(size + 1), frameWidth);
}

TEST_F(TextFitting, FitPointSizeEdgeCases) {
    LayoutItem empty = frame(QString(), kSizeFitWidth, 0, 0, 300, 40);
    empty.pointSize = 14;
    EXPECT_EQ(fitPointSize(empty), 14);

    LayoutItem zeroWidth = frame(QStringLiteral("注文書"), kSizeFitWidth, 0, 0, 0, 40);
    EXPECT_EQ(fitPointSize(zeroWidth), 0);

    LayoutItem endless = frame(QStringLiteral("a"), kSizeFitWidth, 0, 0, 300, 40);
    endless.mmRect.right = 1 << 30;
    EXPECT_EQ(fitPointSize(endless), kMaximumFitPoints);
}

TEST_F(TextFitting, AddresseeLineIsSizedByTheLongestCounterparty) {
    LayoutItem shortName = frame(QStringLiteral(" Ａ　御中"), kSizeFitWidth, 0, 0, 300, 40);
    shortName.itemId = kItemAddressee;
    LayoutItem longName = shortName;
    copySjis(longName.text, sjis(QStringLiteral(" ×××××××××　御中")));
    const int size = fitPointSize(shortName);
    EXPECT_EQ(fitPointSize(longName), size);

    copySjis(longestCounterparty(0), 256, sjis(QStringLiteral("×")));
    EXPECT_GT(fitPointSize(shortName), size);
}

TEST_F(TextFitting, FitToWidthTitleFillsTheFrameWithEqualGaps) {
    RecordingDeviceContext dc;
    LayoutItem item = frame(QStringLiteral("注　文　書"), kSizeFitWidth, 100, 10, 400, 50);
    item.alignment = kAlignCentre;
    drawFrame(dc, item, settingsFont, 100, 0, 0);

    const RecordedCall text = onlyDrawnText(dc);
    EXPECT_EQ(fromSjis(text.text), QStringLiteral("注 　 文 　 書"));
    EXPECT_EQ(text.drawnLine.left(), 100);
    EXPECT_EQ(text.drawnLine.left() + text.drawnLine.width(), 400);
    ASSERT_EQ(text.runStarts.size(), 5u);
    const int charWidth = -text.font.height;
    std::vector<int> gaps;
    for (std::size_t i = 0; i + 1 < text.runStarts.size(); ++i) {
        gaps.push_back(text.runStarts[i + 1] - text.runStarts[i] - charWidth);
    }
    const auto [smallest, largest] = std::minmax_element(gaps.begin(), gaps.end());
    EXPECT_LE(*largest - *smallest, 1);
    EXPECT_EQ(text.runStarts.back() + charWidth, 400);
    // The justification is cleared after the frame.
    EXPECT_EQ(dc.calls().back().kind, Kind::SetJustification);
    EXPECT_EQ(dc.calls().back().justification.breakCount, 0);
}

TEST_F(TextFitting, DeviceRectangleIsScaledAndOffset) {
    RecordingDeviceContext dc;
    LayoutItem item = frame(QStringLiteral("注文"), kSizeFitWidth, 100, 10, 400, 50);
    drawFrame(dc, item, settingsFont, 250, -30, -40);
    const RecordedCall text = onlyDrawnText(dc);
    EXPECT_EQ(text.rect, QRect(QPoint(280, 65), QSize(750, 100)));
    EXPECT_EQ(text.drawnLine.left() + text.drawnLine.width(), 1030);
}

TEST_F(TextFitting, FixedSizeKeepsItsProportionsAtEveryScale) {
    LayoutItem item = frame(QStringLiteral("注文書"), kSizeFixed, 10, 10, 300, 40);
    RecordingDeviceContext at100;
    drawFrame(at100, item, settingsFont, 100, 0, 0);
    RecordingDeviceContext at625;
    drawFrame(at625, item, settingsFont, 625, 0, 0);
    const int width100 = onlyDrawnText(at100).drawnLine.width();
    const int width625 = onlyDrawnText(at625).drawnLine.width();
    EXPECT_EQ(width100, 3 * 13);  // 10 points are 13 pixels at 96 dpi
    EXPECT_EQ(width625, width100 * 625 / 100);
}

TEST_F(TextFitting, FixedSizeKeepsItsProportionsOnARealBitmap) {
    LayoutItem item = frame(QStringLiteral("注文書注文書"), kSizeFixed, 0, 0, 400, 40);
    item.pointSize = 12;
    // Ink from the first to the last dark column, relative to the scale.
    const auto inkWidth = [&](int scale) {
        QImage image(500 * scale / 100, 60 * scale / 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            PainterDeviceContext dc(&image);
            drawFrame(dc, item, settingsFont, scale, 0, 0);
        }
        const auto [first, last] = test::inkColumns(image);
        return last - first + 1;
    };
    const int at100 = inkWidth(100);
    const int at625 = inkWidth(625);
    ASSERT_GT(at100, 50);
    EXPECT_NEAR(at625 * 100.0 / 625, at100, 2.0);
}

TEST_F(TextFitting, FitToHeightSizeComesFromTheFrameHeight) {
    RecordingDeviceContext dc;
    LayoutItem item = frame(QStringLiteral("注"), kSizeFitHeight, 0, 0, 300, 36);
    drawFrame(dc, item, settingsFont, 100, 0, 0);
    // 36 pixels are 27 points, which are 36 pixels again.
    EXPECT_EQ(onlyDrawnText(dc).font.height, -36);
}

TEST_F(TextFitting, AddresseeLineUsesThePitchOfTheLongestCounterparty) {
    RecordingDeviceContext dc;
    LayoutItem item = frame(QStringLiteral(" Ａ　御中"), kSizeFitWidth, 0, 0, 300, 40);
    item.itemId = kItemAddressee;
    drawFrame(dc, item, settingsFont, 200, 0, 0);
    const RecordedCall text = onlyDrawnText(dc);
    // The reference font's half-height is the pitch of one byte; the line
    // takes that pitch for each of its own bytes, at the scale.
    const auto extents = dc.callsOf(Kind::TextExtent);
    ASSERT_FALSE(extents.empty());
    EXPECT_EQ(extents.front().text, longestAddressee(0));
    const int longestWidth = extents.front().extent.width();
    const int longestBytes = static_cast<int>(longestAddressee(0).size());
    const int bytes = static_cast<int>(std::string_view(item.text).size());
    EXPECT_EQ(text.drawnLine.width(), bytes * longestWidth * 200 / longestBytes / 100);
}

TEST_F(TextFitting, AWordSpaceKeepsItsWidthWhereverTheTextIsSet) {
    // Set at its natural width (fixed rule), pressed into a narrow frame
    // and spread over a wide one: the characters move, a space never
    // becomes narrower than a space.
    for (const auto& [rule, right] : {std::pair{kSizeFixed, 300}, std::pair{kSizeFitWidth, 60},
                                      std::pair{kSizeFitWidth, 290}}) {
        RecordingDeviceContext dc;
        LayoutItem item = frame(QStringLiteral("TEL (042)1"), rule, 0, 0, right, 40);
        drawFrame(dc, item, settingsFont, 100, 0, 0);
        const RecordedCall text = onlyDrawnText(dc);
        ASSERT_EQ(text.runStarts.size(), 10u);  // every character, the space too
        const int charWidth = -text.font.height / 2;
        const int space = text.runStarts[4] - (text.runStarts[2] + charWidth);  // "L" to "("
        EXPECT_GE(space, charWidth) << rule << " " << right;
        EXPECT_LE(text.drawnLine.width(), right);
    }
}

TEST_F(TextFitting, NothingIsDrawnWithoutRoom) {
    RecordingDeviceContext dc;
    drawFrame(dc, frame(QStringLiteral("注文書"), kSizeFitWidth, 50, 0, 50, 40), settingsFont, 100,
              0, 0);
    drawFrame(dc, frame(QString(), kSizeFixed, 0, 0, 300, 40), settingsFont, 100, 0, 0);
    EXPECT_TRUE(dc.callsOf(Kind::DrawText).empty());
}

TEST_F(TextFitting, ShrinkingStopsAtOnePixel) {
    RecordingDeviceContext dc;
    // Three pixels for a long text: not even one pixel of height fits.
    LayoutItem item = frame(QString(40, QChar(u'注')), kSizeFitWidth, 0, 0, 3, 40);
    item.pointSize = 0;
    drawFrame(dc, item, settingsFont, 100, 0, 0);
    const RecordedCall text = onlyDrawnText(dc);
    EXPECT_EQ(text.font.height, -1);
    EXPECT_EQ(text.drawnLine.width(), 3);  // tightened to the frame
}

TEST_F(TextFitting, DamagedSizesStillEnd) {
    RecordingDeviceContext dc;
    LayoutItem item = frame(QStringLiteral("注文書"), kSizeFixed, 0, 0, 300, 40);
    item.pointSize = INT_MAX;
    drawFrame(dc, item, settingsFont, 625, 0, 0);
    // The font stays a real one: at least a pixel, never wrapped negative.
    EXPECT_LE(onlyDrawnText(dc).font.height, -1);
    dc.clear();
    item.pointSize = -5;
    drawFrame(dc, item, settingsFont, 100, 0, 0);
    const auto texts = dc.callsOf(Kind::DrawText);
    for (const RecordedCall& text : texts) {
        EXPECT_LE(text.font.height, -1);
    }
}

}  // namespace
}  // namespace belvorine
