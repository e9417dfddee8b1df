// The order data file's encoding and row format, and the text helpers of
// the history.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "data/jis_codec.h"
#include "data/order_file_format.h"
#include "data/order_numbers.h"
#include "data/order_text.h"
#include "order_test_support.h"

namespace belvorine {
namespace {

using test::fixture;
using test::sj;

TEST(JisCodec, HeaderIsTheStandardIso2022JpForm) {
    const std::string encoded = encodeJis(historyHeader());
    EXPECT_EQ(encoded.size(), 28u);
    EXPECT_EQ(encoded, fixture("orders-header-only.ovd"));
    EXPECT_EQ(encoded.substr(0, 5), "\x1B$BCm");
    EXPECT_TRUE(hasHistoryMark(encoded));
    EXPECT_EQ(decodeJis(encoded), historyHeader());
}

TEST(JisCodec, HalfWidthKatakanaAreWrittenRawBetweenRuns) {
    EXPECT_EQ(encodeJis(sj("ﾘｰｽ")), "\xD8\xB0\xBD");
    const std::string mixed = sj("現金ﾘｰｽ現金");
    const std::string encoded = encodeJis(mixed);
    EXPECT_EQ(encoded, "\x1B$B8=6b\x1B(B\xD8\xB0\xBD\x1B$B8=6b\x1B(B");
    EXPECT_EQ(decodeJis(encoded), mixed);
}

TEST(JisCodec, KanjiWithoutJisCodeAreWrittenRawAndComeBack) {
    const std::string name = sj("山﨑髙橋");
    ASSERT_EQ(name, "\x8E\x52\xFA\xB1\xFB\xFC\x8B\xB4");
    const std::string encoded = encodeJis(name);
    EXPECT_EQ(encoded, "\x1B$B;3\x1B(B\xFA\xB1\xFB\xFC\x1B$B66\x1B(B");
    EXPECT_EQ(decodeJis(encoded), name);
}

TEST(JisCodec, EveryShiftJisPairSurvivesTheRoundTrip) {
    std::string all;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead <= 0xDF) {
            continue;
        }
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail != 0x7F) {
                all += static_cast<char>(lead);
                all += static_cast<char>(trail);
            }
        }
        all += "\t";
    }
    const std::string encoded = encodeJis(all);
    EXPECT_EQ(decodeJis(encoded), all);
    // Inside the runs only seven-bit bytes appear.
    bool inRun = false;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded.compare(i, 3, "\x1B$B") == 0) {
            inRun = true;
        } else if (encoded.compare(i, 3, "\x1B(B") == 0) {
            inRun = false;
        } else if (inRun) {
            ASSERT_LT(static_cast<unsigned char>(encoded[i]), 0x80u) << i;
        }
    }
}

TEST(JisCodec, LoneLeadByteBeforeATabStaysOneByte) {
    const std::string text = "\x88\tA";
    EXPECT_EQ(encodeJis(text), text);
    EXPECT_EQ(decodeJis(encodeJis(text)), text);
}

TEST(JisCodec, ArithmeticCodesOfEarlierFilesMapBackToTheKanji) {
    EXPECT_EQ(decodeJis("\x1B$B\x96\x7E\x1B(B"), sj("髙"));
    EXPECT_EQ(decodeJis("\x1B$B;3\x94\x33\x1B(B"), sj("山﨑"));
}

TEST(JisCodec, MalformedInputNeverStopsOrOverruns) {
    EXPECT_EQ(decodeJis("\x1B"), "\x1B");
    EXPECT_EQ(decodeJis("ab\x1B$"), "ab\x1B$");
    // An odd byte at the end of a run and before a line end.
    EXPECT_EQ(decodeJis("\x1B$B;"), sj("〓"));
    EXPECT_EQ(decodeJis("\x1B$B;\x1B(B\r\nX"), sj("〓") + "\r\nX");
    EXPECT_EQ(decodeJis("\x1B$B;\r\n"), sj("〓") + "\r\n");
    // An unknown escape is an ordinary byte; a NUL becomes a space.
    EXPECT_EQ(decodeJis("\x1B$@A"), "\x1B$@A");
    EXPECT_EQ(decodeJis(std::string("A\0B", 3)), "A B");
    // Bytes of 0x80 and above inside a run are copied.
    EXPECT_EQ(decodeJis("\x1B$B\xA0\x1B(B"), "\xA0");
}

TEST(JisCodec, LineFeedAsFirstByteBecomesCrLf) {
    EXPECT_EQ(decodeJis("\nA\nB"), "\r\nA\nB");
}

TEST(RowFormat, RowsAreTheCrLfLinesAfterTheHeader) {
    const std::string text = historyHeader() + "a\tb\r\n\r\nc\r\nlast";
    const std::vector<std::string_view> rows = historyRows(text);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], "a\tb");
    EXPECT_EQ(rows[1], "c");
}

TEST(RowFormat, NormalisingTrimsFieldsAndCompletesTheFormatIndex) {
    const std::string line = sj("ABC　 \t90 \t名　\t\t      10  \t台\t  500.00\t本社工場\t\t");
    EXPECT_EQ(normaliseRow(line), sj("ABC\t90\t名\t\t      10\t台\t  500.00\t本社工場\t\t0"));
}

TEST(RowFormat, FieldsBeyondTheTenthStayInTheLast) {
    const std::string row = normaliseRow("1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11");
    EXPECT_EQ(rowField(row, kStoreFormatIndex), "10\t11");
    EXPECT_EQ(normaliseRow(row), row);
}

TEST(RowFormat, LongRowsKeepTheirTenFieldsAndTheFormatIndex) {
    const std::string counterparty = std::string(254, 'A') + sj("株");
    const std::string name = sj("六角ボルト") + std::string(200, 'N');
    const std::string unit = sj("本");
    const std::string place = sj("本社工場");
    const std::string_view fields[] = {counterparty, "90",       name,  "", "     100",
                                       unit,         "   12.50", place, "", "1"};
    const std::string row = composeRow(fields, kRowFieldCount, true);
    EXPECT_LE(row.size(), kMaxRowBytes);
    // The two long fields are cut alike; the short ones and the format
    // index stay whole in their places.
    EXPECT_EQ(rowField(row, kStoreFormatIndex), "1");
    EXPECT_EQ(rowField(row, kStoreUnit), sj("本"));
    EXPECT_EQ(rowField(row, kStorePlaceLine1), sj("本社工場"));
    EXPECT_EQ(rowField(row, kStoreCounterparty).size(), rowField(row, kStoreNameLine1).size());
    EXPECT_TRUE(rowField(row, kStoreNameLine1).starts_with(sj("六角ボルト")));
    EXPECT_EQ(normaliseRow(row), row);

    // A cut never splits a character nor leaves a blank at a field's end.
    const std::string kanji = sj("漢") + " " + sj("字");
    std::string wide;
    for (int i = 0; i < 60; ++i) {
        wide += kanji;
    }
    const std::string read = normaliseRow(wide + "\t" + wide + "\t\t\t\t\t\t\t\t0");
    EXPECT_LE(read.size(), kMaxRowBytes);
    const std::string_view first = rowField(read, kStoreCounterparty);
    EXPECT_EQ(first, wide.substr(0, first.size()));
    EXPECT_NE(first.back(), ' ');
    EXPECT_EQ(rowField(read, kStoreFormatIndex), "0");
    EXPECT_EQ(normaliseRow(read), read);
}

// decode(encode(decode(x))) = decode(x), and a load of a rewritten file
// gives the rows it was written from, for bytes of every kind: escapes cut
// short, NULs inside escapes, stray CR and LF, JIS and raw eight-bit bytes,
// rows far longer than 255 bytes.
TEST(RowFormat, LoadAndRewriteIsAFixedPointForAnyInput) {
    const std::string pieces[] = {"\x1B",
                                  "$",
                                  "B",
                                  "(",
                                  "\x1B$B",
                                  "\x1B(B",
                                  std::string(1, '\0'),
                                  "\t",
                                  "\r",
                                  "\n",
                                  "\r\n",
                                  " ",
                                  "0",
                                  "A",
                                  "CM",
                                  "\x81",
                                  "\x40",
                                  "\xA0",
                                  "\xF0\x40",
                                  "\x82\xA0",
                                  "\x7F",
                                  "\xFF",
                                  std::string(90, 'Z')};
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    for (int round = 0; round < 3000; ++round) {
        std::string file = "\x1B$BCm";
        const int length = static_cast<int>(next() % 60);
        for (int i = 0; i < length; ++i) {
            file += pieces[next() % std::size(pieces)];
        }
        const std::string decoded = decodeJis(file);
        ASSERT_EQ(decodeJis(encodeJis(decoded)), decoded) << round;

        std::vector<std::string> rows;
        std::string loaded;
        ASSERT_EQ(decodeHistory(file, loaded), 1);
        for (const std::string_view line : historyRows(loaded)) {
            rows.push_back(normaliseRow(line));
        }
        const std::vector<std::string_view> views(rows.begin(), rows.end());
        std::string again;
        ASSERT_EQ(decodeHistory(buildHistoryFile(views), again), 1);
        const std::vector<std::string_view> reread = historyRows(again);
        ASSERT_EQ(reread.size(), rows.size()) << round;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_LE(rows[i].size(), kMaxRowBytes);
            ASSERT_EQ(normaliseRow(reread[i]), rows[i]) << round << " row " << i;
        }
    }
}

TEST(RowFormat, NewDataCannotSplitARow) {
    const std::string_view fields[] = {"A\tB", "90", "x\r\ny", "", "1", "u", "2", "p", "", "0"};
    EXPECT_EQ(composeRow(fields, 10, true), "A B\t90\tx  y\t\t1\tu\t2\tp\t\t0");
}

TEST(TrailingSpaces, HalfAndFullWidthInAnyMixAreRemoved) {
    char text[32] = {};
    std::strcpy(text, (sj("品名") + " \x81\x40 \x81\x40").c_str());
    trimTrailingSpaces(text);
    EXPECT_EQ(std::string(text), sj("品名"));

    std::strcpy(text, "   ");
    trimTrailingSpaces(text);
    EXPECT_EQ(std::string(text), "");
}

TEST(TrailingSpaces, SecondByteOfACharacterIsNotASpace) {
    // 0x88 0x81 is one character; the "@" (0x40) after it is text.
    char text[8] = "\x88\x81@";
    trimTrailingSpaces(text);
    EXPECT_EQ(std::string(text), "\x88\x81@");
}

TEST(TrailingSpaces, UnterminatedBufferIsTerminated) {
    char text[4] = {'a', 'b', ' ', ' '};
    trimTrailingSpaces(text);
    EXPECT_EQ(std::string(text), "ab");
}

TEST(SortUnique, AscendingByUnsignedBytesWithDuplicatesEmptied) {
    char texts[5][kStoreTextSize] = {};
    std::strcpy(texts[0], "\x8A\x94");  // a kanji sorts after ASCII
    std::strcpy(texts[1], "b");
    std::strcpy(texts[2], "a");
    std::strcpy(texts[3], "b");
    std::strcpy(texts[4], "\x8A\x94");
    sortUniqueTexts(texts, 5);
    std::vector<std::string> kept;
    int empty = 0;
    for (auto& text : texts) {
        if (text[0] == '\0') {
            ++empty;
        } else {
            kept.emplace_back(text);
        }
    }
    EXPECT_EQ(kept, (std::vector<std::string>{"a", "b", "\x8A\x94"}));
    EXPECT_EQ(empty, 2);
}

TEST(SortUnique, HundredThousandTextsSortQuickly) {
    std::vector<std::string> storage;
    for (int i = 0; i < 100000; ++i) {
        storage.push_back(std::to_string((i * 7919) % 50000));
    }
    std::vector<std::string_view> views(storage.begin(), storage.end());
    sortUniqueViews(views);
    std::string_view previous;
    int distinct = 0;
    for (const std::string_view view : views) {
        if (!view.empty()) {
            EXPECT_LT(previous, view);
            previous = view;
            ++distinct;
        }
    }
    EXPECT_EQ(distinct, 50000);
}

TEST(NumberTexts, QuantitiesAndPricesKeepTheirFixedFormats) {
    EXPECT_EQ(normaliseQuantity("3"), "       3");
    EXPECT_EQ(normaliseQuantity("2.5"), "    2.50");
    EXPECT_EQ(normaliseQuantity("  10"), "      10");
    EXPECT_EQ(normaliseQuantity(""), "       0");
    EXPECT_EQ(normaliseQuantity("12345678.5"), "12345678.50");
    EXPECT_EQ(normaliseUnitPrice("1200"), " 1200.00");
    EXPECT_EQ(normaliseUnitPrice("333.336"), "  333.34");
    EXPECT_EQ(normaliseUnitPrice("abc"), "    0.00");
    EXPECT_EQ(normaliseUnitPrice("1e400"), "    0.00");
}

TEST(NumberTexts, LeadingIntegerReadsAsAtoiDoes) {
    EXPECT_EQ(leadingInteger("1"), 1);
    EXPECT_EQ(leadingInteger(" 12abc"), 12);
    EXPECT_EQ(leadingInteger(""), 0);
    EXPECT_EQ(leadingInteger("99999999999"), INT_MAX);
}

}  // namespace
}  // namespace belvorine
