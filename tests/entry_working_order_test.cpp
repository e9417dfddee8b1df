// The working order of the data entry dialog, apart from its widgets:
// closing gaps, the amount rules, the normalisation and the commit on OK,
// and "データクリア".

#include <gtest/gtest.h>

#include <string>

#include "entry/working_order.h"
#include "platform/local_clock.h"
#include "platform/sjis_text.h"

using namespace belvorine;

namespace {

std::string sj(const char* utf8) {
    return toSjisLossy(QString::fromUtf8(utf8));
}

class WorkingOrderTest : public ::testing::Test {
protected:
    void SetUp() override {
        setClockForTesting([] { return LocalTime{2024, 3, 5, 9, 30, 0}; });
        currentOrder() = OrderRecord();
        initialiseCurrentOrder();
        initialiseWorkingOrder();
        working = workingOrder();
    }
    void TearDown() override { setClockForTesting({}); }

    void name(int slot, const char* text, const char* unit = "") {
        copySjis(working.lines[slot].name, sj(text));
        copySjis(working.lines[slot].unit, sj(unit));
    }
    std::string nameOf(int slot) const { return std::string(sjisView(working.lines[slot].name)); }

    WorkingOrder working;
};

TEST_F(WorkingOrderTest, ErasedLineMovesTheLinesBelowUpAndLeavesABlankAtTheEnd) {
    name(0, "A", "個");
    name(1, "B", "台");
    name(2, "C", "箱");
    name(3, "D", "本");
    copySjis(working.lines[3].deliveryPlace, sj("第二倉庫"));
    working.lines[1].name[0] = '\0';

    const unsigned shown = closeGaps(working);

    EXPECT_EQ(nameOf(0), "A");
    EXPECT_EQ(nameOf(1), "C");
    EXPECT_EQ(sjisView(working.lines[1].unit), sj("箱"));
    EXPECT_EQ(nameOf(2), "D");
    EXPECT_EQ(sjisView(working.lines[2].deliveryPlace), sj("第二倉庫"));
    // Line 4 is the blank line again: today's delivery date, the default place.
    EXPECT_EQ(nameOf(3), "");
    EXPECT_EQ(sjisView(working.lines[3].deliveryDate), sj("2024年\r\n03月05日"));
    EXPECT_EQ(sjisView(working.lines[3].deliveryPlace), sj("本社工場"));
    EXPECT_EQ(recountLines(working), 3);
    EXPECT_EQ(working.lineCount, 3);
    // Line 1 stayed where it was; every other line must be shown again.
    EXPECT_EQ(shown, 0b11110u);
}

TEST_F(WorkingOrderTest, NameBeginningWithALineBreakCountsAsEmpty) {
    name(0, "A");
    name(1, "\r\nB");
    name(2, "C");
    EXPECT_TRUE(isEmptyLine(working.lines[1]));
    closeGaps(working);
    EXPECT_EQ(nameOf(1), "C");
    EXPECT_EQ(recountLines(working), 2);
}

TEST_F(WorkingOrderTest, SeveralGapsCloseInOnePassSoNoFilledLineLiesBeyondTheCount) {
    name(0, "A");
    name(3, "D");
    name(4, "E");
    closeGaps(working);
    EXPECT_EQ(nameOf(0), "A");
    EXPECT_EQ(nameOf(1), "D");
    EXPECT_EQ(nameOf(2), "E");
    EXPECT_EQ(nameOf(3), "");
    EXPECT_EQ(nameOf(4), "");
    EXPECT_EQ(recountLines(working), 3);
}

TEST(LineAmount, IsTheProductRoundedHalfUpAndGroupedTextsAreRead) {
    std::string amount = "unchanged";
    ASSERT_TRUE(lineAmount("3", "333.33", amount));
    EXPECT_EQ(amount, "         1000");
    ASSERT_TRUE(lineAmount("1,000", "  2.50", amount));
    EXPECT_EQ(amount, "         2500");
    ASSERT_TRUE(lineAmount("1", "0.49", amount));
    EXPECT_EQ(amount, "            0");
    ASSERT_TRUE(lineAmount("1", "0.5", amount));
    EXPECT_EQ(amount, "            1");
}

TEST(LineAmount, ZeroNegativeOrNonNumericProductsLeaveTheAmountAlone) {
    std::string amount = "          500";
    EXPECT_FALSE(lineAmount("0", "333.33", amount));
    EXPECT_FALSE(lineAmount("", "100", amount));
    EXPECT_FALSE(lineAmount("-2", "100", amount));
    EXPECT_FALSE(lineAmount("abc", "100", amount));
    EXPECT_EQ(amount, "          500");
}

TEST(LineAmount, OverFlowFromTheLargestSigned32BitValueOn) {
    std::string amount;
    ASSERT_TRUE(lineAmount("99999999", "9999999", amount));
    EXPECT_EQ(amount, "Over Flow");
    ASSERT_TRUE(lineAmount("1", "2147483646", amount));
    EXPECT_EQ(amount, "   2147483646");
    ASSERT_TRUE(lineAmount("1", "2147483646.50", amount));
    EXPECT_EQ(amount, "Over Flow");
}

TEST(UnitPriceForAmount, DividesTheAmountByTheQuantity) {
    std::string unitPrice = "unchanged";
    ASSERT_TRUE(unitPriceForAmount("3", "1000", unitPrice));
    EXPECT_EQ(unitPrice, "  333.33");
    ASSERT_TRUE(unitPriceForAmount("4", "1,234,567", unitPrice));
    EXPECT_EQ(unitPrice, "308641.75");
    unitPrice = "unchanged";
    EXPECT_FALSE(unitPriceForAmount("0", "1000", unitPrice));
    EXPECT_FALSE(unitPriceForAmount("3", "Over Flow", unitPrice));
    EXPECT_EQ(unitPrice, "unchanged");
}

TEST(NormaliseAmount, KeepsOverFlowAndNeverWrapsALargeTypedAmount) {
    EXPECT_EQ(normaliseAmount("Over Flow"), "Over Flow");
    EXPECT_EQ(normaliseAmount("1,000"), "         1000");
    EXPECT_EQ(normaliseAmount(""), "            0");
    EXPECT_EQ(normaliseAmount("2147483646"), "   2147483646");
    EXPECT_EQ(normaliseAmount("9999999999"), "Over Flow");
}

TEST_F(WorkingOrderTest, CommitWritesDisplayLinesNumbersAndHeader) {
    copySjis(working.year, "2024");
    copySjis(working.counterparty, sj("山田商事"));
    copySjis(working.paymentText, "30");
    working.paymentKind = kPaymentNote;
    copySjis(working.approvalNo, "K-1");
    OrderLine& line = working.lines[0];
    copySjis(line.name, sj("六角ボルト\r\nM8"));
    copySjis(line.quantity, "2.5");
    copySjis(line.unitPrice, "1200");
    copySjis(line.amount, "3000");
    line.splitFrom = 1;
    copySjis(line.totalQuantity, "      10");
    ShownLineTexts shown[kOrderLineCount];
    // 39 half-width bytes and a double-byte character: the 40-byte cut
    // must not split it.
    shown[0].name[0] = std::string(39, 'x') + sj("株");
    shown[0].name[1] = "M8";
    shown[0].date[0] = sj("2024年");
    shown[0].date[1] = sj("03月05日");
    shown[0].place[0] = sj("本社工場");
    OrderRecord& order = currentOrder();

    commitWorkingOrder(working, shown, order);

    EXPECT_EQ(sjisView(order.year), "2024");
    EXPECT_EQ(sjisView(order.counterparty), sj("山田商事"));
    EXPECT_EQ(sjisView(order.paymentText), "30");
    EXPECT_EQ(sjisView(order.approvalNo), "K-1");
    const OrderLine& saved = order.lines[0];
    EXPECT_EQ(sjisView(saved.nameLine1), std::string(39, 'x'));
    EXPECT_EQ(sjisView(saved.nameLine2), "M8");
    EXPECT_EQ(sjisView(saved.name), sj("六角ボルト\r\nM8"));
    EXPECT_EQ(sjisView(saved.deliveryDateLine2), sj("03月05日"));
    EXPECT_EQ(sjisView(saved.deliveryPlaceLine1), sj("本社工場"));
    EXPECT_EQ(sjisView(saved.deliveryPlaceLine2), "");
    EXPECT_EQ(sjisView(saved.quantity), "    2.50");
    EXPECT_EQ(sjisView(saved.unitPrice), " 1200.00");
    EXPECT_EQ(sjisView(saved.amount), "         3000");
    EXPECT_EQ(saved.splitFrom, 1);
    EXPECT_EQ(sjisView(saved.totalQuantity), "      10");
    // Lines without a name come back as the blank line, unnormalised.
    EXPECT_EQ(sjisView(order.lines[1].quantity), "");
    EXPECT_EQ(sjisView(order.lines[1].deliveryPlace), sj("本社工場"));
}

TEST_F(WorkingOrderTest, CommitShowsNoNameLinesForANameThatStartsWithALineBreak) {
    copySjis(working.lines[0].name, sj("\r\nボルト"));
    copySjis(working.lines[0].quantity, "5");
    ShownLineTexts shown[kOrderLineCount];
    shown[0].name[1] = sj("ボルト");
    commitWorkingOrder(working, shown, currentOrder());
    EXPECT_EQ(sjisView(currentOrder().lines[0].name), "");
    EXPECT_EQ(sjisView(currentOrder().lines[0].quantity), "");
}

TEST_F(WorkingOrderTest, ClearingEmptiesTheLinesAndTheApprovalButKeepsTheHeader) {
    name(0, "A");
    name(1, "B");
    copySjis(working.approvalNo, "K-1");
    copySjis(working.counterparty, sj("山田商事"));
    copySjis(working.paymentText, sj("現金"));
    working.paymentKind = kPaymentCash;
    OrderRecord& order = currentOrder();
    copySjis(order.lines[0].nameLine1, "A");
    copySjis(order.approvalNo, "OLD");

    clearWorkingLines(working, order);

    EXPECT_EQ(working.lineCount, 0);
    EXPECT_EQ(sjisView(working.approvalNo), "");
    for (int slot = 0; slot < kOrderLineCount; ++slot) {
        EXPECT_EQ(sjisView(order.lines[slot].nameLine1), "") << slot;
        EXPECT_EQ(sjisView(working.lines[slot].name), "") << slot;
    }
    EXPECT_EQ(sjisView(order.counterparty), sj("山田商事"));
    EXPECT_EQ(order.paymentKind, kPaymentCash);
    EXPECT_EQ(sjisView(order.approvalNo), "OLD");
}

// One rule for every dialog that turns payment terms into a payment kind
// and back.
TEST(PaymentTerms, TheTextGivesTheKindAndTheKindTheText) {
    EXPECT_EQ(paymentKindOf(sj("ﾘｰｽ")), kPaymentLease);
    EXPECT_EQ(paymentKindOf(sj("現金")), kPaymentCash);
    EXPECT_EQ(paymentKindOf("30"), kPaymentNote);
    EXPECT_EQ(paymentKindOf(""), kPaymentNote);
    EXPECT_EQ(paymentKindOf(sj("リース")), kPaymentNote) << "only the half-width text is a lease";
    EXPECT_EQ(paymentTextOf(kPaymentNote, "90"), "90");
    EXPECT_EQ(paymentTextOf(kPaymentLease, "90"), sj("ﾘｰｽ"));
    EXPECT_EQ(paymentTextOf(kPaymentCash, ""), sj("現金"));
}

}  // namespace
