// Thousands separators and the number texts of the item table.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "data/order_record.h"
#include "form/amount_format.h"
#include "platform/sjis_text.h"

namespace belvorine {
namespace {

std::string sj(const char* utf8) {
    return toSjisLossy(QString::fromUtf8(utf8));
}

OrderLine line(const char* quantity, const char* unit, const char* amount = "") {
    OrderLine result;
    copySjis(result.quantity, quantity);
    copySjis(result.unit, sj(unit));
    copySjis(result.amount, amount);
    return result;
}

TEST(GroupThousands, InsertsCommasAndDropsLeadingSpaces) {
    EXPECT_EQ(groupThousands("      10"), "10");
    EXPECT_EQ(groupThousands("     999"), "999");
    EXPECT_EQ(groupThousands("    1000"), "1,000");
    EXPECT_EQ(groupThousands("    1234"), "1,234");
    EXPECT_EQ(groupThousands("  800.00"), "800.00");
    EXPECT_EQ(groupThousands(" 1234567.50"), "1,234,567.50");
    EXPECT_EQ(groupThousands("  123456"), "123,456");
    EXPECT_EQ(groupThousands(""), "");
}

TEST(GroupThousands, LimitsOfLength) {
    EXPECT_EQ(groupThousands("  12345678901234567"), "12,345,678,901,234,567");
    EXPECT_EQ(groupThousands("  123456789012345678"), "  123456789012345678");
    const std::string longText = "   123456789012345678";  // 21 bytes
    EXPECT_EQ(groupThousands(longText), longText);
    EXPECT_EQ(groupThousands("12345678901234567890"), "12345678901234567890");
}

// Broke before: "１２３" (six bytes) got a comma between the two bytes of a
// character, and letters were grouped like digits.
TEST(GroupThousands, GroupsOnlyAPlainNumberAndLeavesTheRestWhole) {
    const std::string fullWidth = toSjisLossy(QStringLiteral("１２３"));
    EXPECT_EQ(groupThousands(fullWidth), fullWidth);
    EXPECT_EQ(groupThousands("12abc"), "12abc");
    EXPECT_EQ(groupThousands("  1e300"), "1e300");
    EXPECT_EQ(groupThousands("1,234"), "1,234");
    EXPECT_EQ(groupThousands("Over Flow"), "Over Flow");
    EXPECT_EQ(groupThousands("1234."), "1,234.");
}

TEST(GroupThousands, MinusSignStaysInFront) {
    EXPECT_EQ(groupThousands("-123456"), "-123,456");
    EXPECT_EQ(groupThousands("-123"), "-123");
}

TEST(GroupThousands, BufferIsNeverOverrun) {
    char out[8];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(groupThousands(" 1234567.50", out, 6), 5u);
    EXPECT_EQ(std::string(out), "1,234");
    EXPECT_EQ(out[6], 'x');
    char full[32];
    EXPECT_EQ(groupThousands("    1000", full, sizeof full), 5u);
    EXPECT_EQ(std::string(full), "1,000");
}

TEST(RemoveThousands, RemovesEveryCommaAndKeepsTheRest) {
    EXPECT_EQ(removeThousands("1,234,567.50"), "1234567.50");
    EXPECT_EQ(removeThousands("  1,000"), "  1000");
    EXPECT_EQ(removeThousands(",,"), "");
    EXPECT_EQ(removeThousands("800.00"), "800.00");
    char out[20];
    EXPECT_EQ(removeThousands("12,345,678,901,234,567,890", out, sizeof out), 19u);
    EXPECT_EQ(std::string(out), "1234567890123456789");
}

TEST(RemoveThousands, UndoesGroupingWithoutTheLeadingSpaces) {
    for (const char* text : {"      10", "    1234", " 1234567.50", "  12345678901234567"}) {
        std::string trimmed(text);
        trimmed.erase(0, trimmed.find_first_not_of(' '));
        EXPECT_EQ(removeThousands(groupThousands(text)), trimmed) << text;
    }
}

TEST(QuantityCell, OneToNineOfTheUnitShikiReadAsCounterWords) {
    EXPECT_EQ(quantityCellText(line("       1", "式")), sj("一式 "));
    EXPECT_EQ(quantityCellText(line("       9", "式")), sj("九式 "));
    EXPECT_EQ(quantityCellText(line("      10", "式")), "10" + sj("式"));
    EXPECT_EQ(quantityCellText(line("    1.50", "式")), "1.50" + sj("式"));
    EXPECT_EQ(quantityCellText(line("       1", "式 ")), "1" + sj("式 "));
    EXPECT_EQ(quantityCellText(line("       1", "台")), "1" + sj("台"));
    EXPECT_EQ(quantityCellText(line("    1000", "個")), "1,000" + sj("個"));
}

TEST(PriceAndAmountCells, GroupedWithYenUnlessOverflowed) {
    OrderLine priced = line("", "");
    copySjis(priced.unitPrice, " 1200.00");
    EXPECT_EQ(unitPriceCellText(priced), "1,200.00");
    EXPECT_EQ(amountCellText(line("", "", "         3600")), "3,600" + sj("円"));
    EXPECT_EQ(amountCellText(line("", "", "Over Flow")), "Over Flow");
}

TEST(AmountValue, ReadsLeadingDigitsOnly) {
    EXPECT_EQ(amountValue("         3600"), 3600);
    EXPECT_EQ(amountValue("Over Flow"), 0);
    EXPECT_EQ(amountValue(""), 0);
    EXPECT_EQ(amountValue("12,345"), 12);
    EXPECT_EQ(amountValue(static_cast<const char*>(nullptr)), 0);
    EXPECT_EQ(amountValue("99999999999999999999999999999"), 999'999'999'999'999'999LL);
}

TEST(Totals, TotalBoxAndRowTexts) {
    EXPECT_EQ(totalBoxText(0), sj("合 計 金 額    ￥0.－"));
    EXPECT_EQ(totalRowText(0), "0" + sj("円"));
    EXPECT_EQ(totalBoxText(1234567), sj("合 計 金 額    ￥1,234,567.－"));
}

}  // namespace
}  // namespace belvorine
