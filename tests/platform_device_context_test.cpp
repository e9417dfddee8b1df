// The drawing surfaces: fonts from stored records, the justification shared
// by both surfaces, the recording surface's fixed metrics, and the painter
// surface's pixels.

#include <climits>

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>

#include "platform/font_faces.h"
#include "platform/log_font_qt.h"
#include "platform/painter_device_context.h"
#include "platform/recording_device_context.h"
#include "platform/sjis_text.h"
#include "platform/text_justification.h"
#include "tests/image_ink.h"

namespace belvorine {
namespace {

LogFont gothic(int height) {
    LogFont font;
    font.height = height;
    font.weight = 400;
    font.charSet = kShiftJisCharSet;
    copySjis(font.faceName, toSjisLossy(QStringLiteral("ＭＳ ゴシック")));
    return font;
}

std::string sjis(const QString& text) {
    return toSjisLossy(text);
}

using test::inkColumns;
using test::isInk;

TEST(Justification, SpreadsTheRemainderOverTheFirstBreaks) {
    const Justification widen{7, 3};
    EXPECT_EQ(breakExtra(widen, 0), 3);
    EXPECT_EQ(breakExtra(widen, 1), 2);
    EXPECT_EQ(breakExtra(widen, 2), 2);
    EXPECT_EQ(breakExtra(widen, 3), 0);  // only breakCount breaks get any
    const Justification tighten{-7, 3};
    EXPECT_EQ(breakExtra(tighten, 0), -3);
    EXPECT_EQ(breakExtra(tighten, 1), -2);
    EXPECT_EQ(breakExtra(tighten, 2), -2);
    EXPECT_EQ(breakExtra(Justification{5, 0}, 0), 0);
}

TEST(Justification, LaysOutRunsBetweenSpaces) {
    std::vector<int> starts;
    EXPECT_EQ(layoutRuns({10, 10, 10}, 4, Justification{5, 2}, &starts), 30 + 8 + 5);
    EXPECT_EQ(starts, (std::vector<int>{0, 17, 33}));
    EXPECT_EQ(layoutRuns({}, 4, Justification{}, &starts), 0);
    EXPECT_EQ(layoutRuns({10, 10}, 0, Justification{INT_MAX, 1}, nullptr), INT_MAX);
}

TEST(LogFontToQt, HeightsWeightsAndFlags) {
    EXPECT_EQ(fontFromLogFont(gothic(-20)).pixelSize(), 20);
    EXPECT_EQ(fontFromLogFont(gothic(0)).pixelSize(), kDefaultFontPixels);
    EXPECT_EQ(fontFromLogFont(gothic(INT_MIN)).pixelSize(), kMaximumFontPixels);

    // A positive height is the cell height.
    const QFont cell = fontFromLogFont(gothic(30));
    const QFontMetrics metrics(cell);
    EXPECT_NEAR(metrics.ascent() + metrics.descent(), 30, 1);
    EXPECT_LT(cell.pixelSize(), 30);

    LogFont styled = gothic(-12);
    styled.weight = 700;
    styled.italic = 1;
    styled.underline = 1;
    const QFont font = fontFromLogFont(styled);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_TRUE(font.italic());
    EXPECT_TRUE(font.underline());
    EXPECT_FALSE(font.kerning());
    styled.weight = 900;
    EXPECT_EQ(fontFromLogFont(styled).weight(), QFont::Black);
    styled.weight = 0;
    EXPECT_EQ(fontFromLogFont(styled).weight(), QFont::Normal);
}

TEST(LogFontToQt, FaceIsDecodedAndSubstituted) {
    installFontSubstitutions();
    const QFont font = fontFromLogFont(gothic(-12));
    EXPECT_EQ(font.family(), QStringLiteral("ＭＳ ゴシック"));
    // Named in the session's language ("IPAGothic", "IPAゴシック").
    EXPECT_EQ(QFontInfo(font).family(), QFontInfo(QFont(QStringLiteral("IPAGothic"))).family());
}

TEST(RecordingSurface, FixedMetrics) {
    RecordingDeviceContext dc;
    dc.selectFont(gothic(-20));
    EXPECT_EQ(dc.textExtent(sjis(QStringLiteral("注文"))), QSize(40, 20));
    EXPECT_EQ(dc.textExtent("ab"), QSize(20, 20));
    EXPECT_EQ(dc.textExtent("a b"), QSize(30, 20));
    EXPECT_EQ(dc.textMetrics().height, 20);
    EXPECT_EQ(dc.textMetrics().averageCharWidth, 10);
    dc.setTextJustification(-4, 1);
    EXPECT_EQ(dc.textExtent("a b").width(), 26);
    dc.selectFont(gothic(0));
    EXPECT_EQ(dc.textExtent("abc").width(), 0);
}

TEST(RecordingSurface, PlacesTextLikeThePainter) {
    RecordingDeviceContext dc;
    dc.selectFont(gothic(-10));
    dc.setTextColor(Qt::red);
    dc.drawText(QRect(0, 0, 100, 30), "ab", TextAlign::Centre);
    dc.drawText(QRect(0, 0, 100, 30), "ab", TextAlign::Right);
    dc.drawText(QRect(0, 0, 100, 30), "ab", TextAlign::Left);
    const auto texts = dc.callsOf(RecordedCall::Kind::DrawText);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].drawnLine, QRect(45, 10, 10, 10));
    EXPECT_EQ(texts[1].drawnLine.left(), 90);
    EXPECT_EQ(texts[2].drawnLine.left(), 0);
    EXPECT_EQ(texts[0].color, QColor(Qt::red));
    EXPECT_EQ(texts[0].font.height, -10);
}

TEST(RecordingSurface, RecordsLinesWithThePenInEffect) {
    RecordingDeviceContext dc;
    dc.setSolidPen(3, Qt::blue);
    dc.moveTo(1, 2);
    dc.lineTo(5, 2);
    dc.setDottedPen();
    dc.lineTo(5, 9);
    const auto lines = dc.callsOf(RecordedCall::Kind::LineTo);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].from, QPoint(1, 2));
    EXPECT_EQ(lines[0].to, QPoint(5, 2));
    EXPECT_EQ(lines[0].penWidth, 3);
    EXPECT_EQ(lines[0].color, QColor(Qt::blue));
    EXPECT_EQ(lines[1].from, QPoint(5, 2));
    EXPECT_TRUE(lines[1].dottedPen);
}

class PainterSurface : public ::testing::Test {
protected:
    void SetUp() override {
        installFontSubstitutions();
        image = QImage(400, 80, QImage::Format_RGB32);
        image.fill(Qt::white);
    }
    QImage image;
};

TEST_F(PainterSurface, JustifiedTextReachesBothEdges) {
    const std::string spaced = sjis(QStringLiteral("注 文 書"));
    int natural = 0;
    {
        PainterDeviceContext dc(&image);
        ASSERT_TRUE(dc.isActive());
        dc.selectFont(gothic(-24));
        natural = dc.textExtent(spaced).width();
        dc.setTextJustification(300 - natural, 2);
        EXPECT_EQ(dc.textExtent(spaced).width(), 300);
        dc.drawText(QRect(50, 0, 300, 80), spaced, TextAlign::Left);
    }
    ASSERT_LT(natural, 150);
    const auto [first, last] = inkColumns(image);
    // Glyph side bearings are a few pixels at 24 pixels.
    EXPECT_GE(first, 50);
    EXPECT_LE(first, 54);
    EXPECT_LE(last, 349);
    EXPECT_GE(last, 345);
}

// Lines are laid out once and kept: what is kept must never stand in for
// another font or another page's drawing.
TEST_F(PainterSurface, ALineDrawnAgainIsTheSameAndAnotherFontIsMeasuredAfresh) {
    const std::string text = sjis(QStringLiteral("注文書 No.12"));
    QImage again = image;
    int small = 0;
    int large = 0;
    {
        PainterDeviceContext dc(&image);
        dc.selectFont(gothic(-24));
        small = dc.textExtent(text).width();
        dc.drawText(QRect(10, 0, 380, 80), text, TextAlign::Left);
        dc.selectFont(gothic(-48));
        large = dc.textExtent(text).width();
    }
    {
        PainterDeviceContext dc(&again);
        dc.selectFont(gothic(-24));
        dc.drawText(QRect(10, 0, 380, 80), text, TextAlign::Left);
    }
    EXPECT_GT(small, 0);
    EXPECT_NEAR(large, 2 * small, 4);
    EXPECT_EQ(again, image);
}

TEST_F(PainterSurface, TextIsCentredVertically) {
    {
        PainterDeviceContext dc(&image);
        dc.selectFont(gothic(-20));
        dc.drawText(QRect(0, 0, 400, 80), sjis(QStringLiteral("ー")), TextAlign::Centre);
    }
    // The long vowel mark is a horizontal stroke at mid-height.
    int row = -1;
    for (int y = 0; y < image.height() && row < 0; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (isInk(image, x, y)) {
                row = y;
                break;
            }
        }
    }
    EXPECT_NEAR(row, 40, 6);
}

TEST_F(PainterSurface, UnderlineRunsUnderTheSpacesToo) {
    LogFont font = gothic(-24);
    font.underline = 1;
    int underline = 0;
    {
        PainterDeviceContext dc(&image);
        dc.selectFont(font);
        const std::string spaced = sjis(QStringLiteral("注 書"));
        dc.setTextJustification(200 - dc.textExtent(spaced).width(), 1);
        dc.drawText(QRect(0, 0, 200, 80), spaced, TextAlign::Left);
        const QFontMetrics metrics(fontFromLogFont(font), &image);
        underline = (80 - metrics.height()) / 2 + metrics.ascent() + metrics.underlinePos();
    }
    EXPECT_TRUE(isInk(image, 100, underline));  // in the middle of the gap
    EXPECT_TRUE(isInk(image, 199, underline));
    EXPECT_FALSE(isInk(image, 200, underline));
}

TEST_F(PainterSurface, BoldStaysBoldAtLargeSizes) {
    // A title at 200 % is about 72 pixels high; Qt thickened a face
    // without a bold of its own only below 64.
    const auto inkAt = [](int weight) {
        QImage image(200, 120, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            PainterDeviceContext dc(&image);
            LogFont font = gothic(-80);
            copySjis(font.faceName, sjis(QStringLiteral("ＭＳ 明朝")));
            font.weight = weight;
            dc.selectFont(font);
            dc.drawText(QRect(0, 0, 200, 120), sjis(QStringLiteral("注")), TextAlign::Left);
        }
        int ink = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                ink += isInk(image, x, y) ? 1 : 0;
            }
        }
        return ink;
    };
    EXPECT_GT(inkAt(900), inkAt(400) * 115 / 100);
}

TEST_F(PainterSurface, TextLongerThanItsFrameStopsAtTheFrame) {
    {
        PainterDeviceContext dc(&image);
        dc.selectFont(gothic(-24));
        dc.drawText(QRect(100, 20, 60, 40), sjis(QStringLiteral("株式会社ベルヴォリン商事")),
                    TextAlign::Centre);
    }
    const auto [first, last] = inkColumns(image);
    EXPECT_GE(first, 100);
    EXPECT_LE(last, 159);
    EXPECT_GT(last, first);
}

TEST_F(PainterSurface, LinesLeaveTheirEndPoint) {
    {
        PainterDeviceContext dc(&image);
        dc.setSolidPen(0);
        dc.moveTo(10, 10);
        dc.lineTo(20, 10);
    }
    EXPECT_TRUE(isInk(image, 10, 10));
    EXPECT_TRUE(isInk(image, 19, 10));
    EXPECT_FALSE(isInk(image, 20, 10));
    EXPECT_FALSE(isInk(image, 15, 11));  // width 0 is one pixel
}

TEST_F(PainterSurface, WidePensAndDottedPens) {
    {
        PainterDeviceContext dc(&image);
        dc.setSolidPen(5);
        dc.moveTo(10, 20);
        dc.lineTo(100, 20);
        dc.setDottedPen();
        dc.moveTo(10, 50);
        dc.lineTo(100, 50);
    }
    EXPECT_TRUE(isInk(image, 50, 18));
    EXPECT_TRUE(isInk(image, 50, 22));
    EXPECT_FALSE(isInk(image, 50, 25));
    int inked = 0;
    for (int x = 10; x < 100; ++x) {
        inked += isInk(image, x, 50) ? 1 : 0;
    }
    EXPECT_GT(inked, 10);
    EXPECT_LT(inked, 80);
}

TEST_F(PainterSurface, RectanglesOutlineInsideAndFill) {
    {
        PainterDeviceContext dc(&image);
        dc.setSolidPen(0);
        dc.drawRectangle(QRect(10, 10, 20, 10), Qt::red);
        dc.fillRect(QRect(100, 10, 5, 5), Qt::blue);
    }
    EXPECT_TRUE(isInk(image, 10, 10));
    EXPECT_TRUE(isInk(image, 29, 19));
    EXPECT_FALSE(isInk(image, 30, 10));
    EXPECT_FALSE(isInk(image, 10, 20));
    EXPECT_EQ(image.pixelColor(15, 15), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(104, 14), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(105, 14), QColor(Qt::white));
}

TEST(PainterSurfaceWithoutDevice, MeasuresButDrawsNothing) {
    PainterDeviceContext dc(static_cast<QPaintDevice*>(nullptr));
    EXPECT_FALSE(dc.isActive());
    dc.selectFont(gothic(-20));
    EXPECT_GT(dc.textExtent("abc").width(), 0);
    dc.drawText(QRect(0, 0, 10, 10), "abc", TextAlign::Left);
    dc.lineTo(5, 5);
    dc.drawRectangle(QRect(0, 0, 5, 5));
}

}  // namespace
}  // namespace belvorine
