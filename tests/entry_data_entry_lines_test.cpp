// The item lines of the data entry dialog driven as the user drives them:
// lines moving up when a name is erased, the numbers grouped outside
// editing, and the amount and unit price derived from each other.

#include "entry_dialog_fixture.h"

#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextCursor>
#include <QWheelEvent>

#include "entry/date_drop_button.h"

namespace belvorine::test {
namespace {

class DataEntryLinesTest : public DataEntryTest {
protected:
    // Four filled lines, each with its own unit.
    void fourLines() {
        orderLine(0, "ボルト", "      10", "個", "  500.00");
        orderLine(1, "ナット", "      20", "箱", "   10.00");
        orderLine(2, "座金", "       5", "組", "    2.00");
        orderLine(3, "ねじ", "       1", "式", " 1200.00");
        copySjis(currentOrder().lines[3].deliveryPlace, sj("第二倉庫"));
    }
    QStringList names() {
        QStringList result;
        for (int slot = 0; slot < 5; ++slot) {
            result << text(kName1 + slot);
        }
        return result;
    }
};

TEST_F(DataEntryLinesTest, ErasingANameMovesTheLinesBelowUp) {
    fourLines();
    open();
    auto* name = control<QPlainTextEdit>(kName1 + 1);
    name->setFocus();
    name->selectAll();
    QTest::keyClick(name, Qt::Key_Delete);

    EXPECT_EQ(names(), QStringList({"ボルト", "座金", "ねじ", "", ""}));
    EXPECT_EQ(text(kUnit1 + 1), "組");
    EXPECT_EQ(text(kUnit1 + 2), "式");
    EXPECT_EQ(text(kUnitPrice1 + 2), "1,200.00");
    EXPECT_EQ(text(kPlace1 + 2), "第二倉庫");
    // Line 4 is the blank line: today's delivery date and the default place.
    EXPECT_EQ(text(kUnit1 + 3), "");
    EXPECT_EQ(text(kDeliveryDate1 + 3), "2024年\n03月05日");
    EXPECT_EQ(text(kPlace1 + 3), "本社工場");
    EXPECT_EQ(workingOrder().lineCount, 3);
}

TEST_F(DataEntryLinesTest, EnterAtTheVeryStartOfANameRemovesThatLine) {
    fourLines();
    open();
    auto* name = control<QPlainTextEdit>(kName1 + 1);
    name->setFocus();
    name->moveCursor(QTextCursor::Start);
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(names(), QStringList({"ボルト", "座金", "ねじ", "", ""}));
    EXPECT_EQ(workingOrder().lineCount, 3);

    // Anywhere else Enter is a line break of the name.
    name->moveCursor(QTextCursor::End);
    QTest::keyClick(name, Qt::Key_Return);
    QTest::keyClicks(name, "M8");
    EXPECT_EQ(text(kName1 + 1), "座金\nM8");
    EXPECT_EQ(workingOrder().lineCount, 3);
}

TEST_F(DataEntryLinesTest, TypedUnitMovesWithItsLineAndSurvivesARefill) {
    orderLine(0, "ボルト");
    orderLine(1, "ナット");
    orderLine(2, "座金");
    int refills = 0;
    setPartialDeliveryHook([&](DataEntryDialog&, int line) {
        EXPECT_EQ(line, 2);
        ++refills;
        return 1;
    });
    open();
    type(kUnit1 + 2, "缶");
    leaveField();
    auto* name = control<QPlainTextEdit>(kName1 + 1);
    name->setFocus();
    name->selectAll();
    QTest::keyClick(name, Qt::Key_Backspace);
    EXPECT_EQ(text(kName1 + 1), "座金");
    EXPECT_EQ(text(kUnit1 + 1), "缶");

    click(kSplit1 + 1);
    EXPECT_EQ(refills, 1);
    EXPECT_EQ(text(kUnit1 + 1), "缶");
}

TEST_F(DataEntryLinesTest, InputMethodCompositionKeepsTheLineItIsTypedIn) {
    orderLine(1, "ナット", "      20", "箱");
    orderLine(0, "ボルト", "      10", "個", "  500.00");
    open();
    // Replacing a selected name: the selection goes at the first pre-edit.
    auto* name = control<QPlainTextEdit>(kName1);
    name->setFocus();
    name->selectAll();
    compose(name, {"n", "ね", "ねじ"}, "ねじ");
    EXPECT_EQ(text(kName1), "ねじ");
    EXPECT_EQ(text(kQuantity1), "10");
    EXPECT_EQ(text(kUnitPrice1), "500.00");
    EXPECT_EQ(text(kName1 + 1), "ナット");
    EXPECT_EQ(text(kQuantity1 + 1), "20");
    EXPECT_EQ(text(kUnit1 + 1), "箱");

    // A name composed into the first free line after its numbers were typed.
    type(kQuantity1 + 2, "5");
    type(kUnit1 + 2, "kg");
    leaveField();
    auto* third = control<QPlainTextEdit>(kName1 + 2);
    third->setFocus();
    compose(third, {"b", "ぼ", "ぼると"}, "ボルト");
    EXPECT_EQ(text(kName1 + 2), "ボルト");
    EXPECT_EQ(text(kQuantity1 + 2), "5");
    EXPECT_EQ(text(kUnit1 + 2), "kg");
    EXPECT_EQ(workingOrder().lineCount, 3);
}

// Broke before: switching the input method on sends a text change for a
// name that did not change, and the line rule took it for an erased name.
TEST_F(DataEntryLinesTest, SwitchingTheInputMethodOnInAnEmptyNameKeepsTheLinesNumbers) {
    open();
    type(kQuantity1, "12");
    type(kUnit1, "pc");
    type(kUnitPrice1, "1500");
    auto* name = control<QPlainTextEdit>(kName1);
    name->setFocus();
    EXPECT_EQ(text(kAmount1), "18,000");
    switchInputMethodOn(name);
    preedit(name, "ｂ");
    cancelComposition(name);
    EXPECT_EQ(text(kQuantity1), "12");
    EXPECT_EQ(text(kUnit1), "pc");
    EXPECT_EQ(text(kUnitPrice1), "1,500.00");
    EXPECT_EQ(text(kAmount1), "18,000");
    // The name composed afterwards belongs to the same line.
    compose(name, {"ｂ", "ぼ", "ぼると"}, "ボルト");
    click(kOk);
    const OrderLine& line = currentOrder().lines[0];
    EXPECT_EQ(sjisView(line.nameLine1), sj("ボルト"));
    EXPECT_EQ(sjisView(line.quantity), "      12");
    EXPECT_EQ(sjisView(line.amount), "        18000");
}

// Broke before: the composition removed the selected name, and Escape left
// the name empty, which removed the line.
TEST_F(DataEntryLinesTest, EscapeOrLeavingAfterReplacingANameKeepsTheLineAsItWas) {
    fourLines();
    open();
    auto* name = control<QPlainTextEdit>(kName1 + 1);
    name->setFocus();
    name->selectAll();
    preedit(name, "ｎ");
    preedit(name, "ね");
    preedit(name, "ねじ");
    cancelComposition(name);
    EXPECT_EQ(names(), QStringList({"ボルト", "ナット", "座金", "ねじ", ""}));
    EXPECT_EQ(text(kQuantity1 + 1), "20");
    EXPECT_EQ(text(kUnit1 + 1), "箱");
    EXPECT_EQ(workingOrder().lineCount, 4);
    // The same in a unit box (it hands the events to its line edit).
    auto* unit = control<QComboBox>(kUnit1 + 1);
    unit->setFocus();
    unit->lineEdit()->selectAll();
    preedit(unit, "ｋ");
    cancelComposition(unit);
    EXPECT_EQ(text(kUnit1 + 1), "箱");

    // Leaving mid-composition: the front end commits what was composed.
    name->selectAll();
    preedit(name, "か");
    commitComposition(name, "か");
    control(kQuantity1 + 1)->setFocus();
    switchInputMethodOn(control(kQuantity1 + 1));
    EXPECT_EQ(names(), QStringList({"ボルト", "か", "座金", "ねじ", ""}));
    EXPECT_EQ(text(kQuantity1 + 1), "20");

    // A front end that drops the composition with the focus: as Escape.
    name->setFocus();
    name->selectAll();
    preedit(name, "さ");
    control(kQuantity1 + 1)->setFocus();
    EXPECT_EQ(names(), QStringList({"ボルト", "か", "座金", "ねじ", ""}));

    // Erasing the name is what removes the line.
    name->setFocus();
    name->selectAll();
    QTest::keyClick(name, Qt::Key_Delete);
    EXPECT_EQ(names(), QStringList({"ボルト", "座金", "ねじ", "", ""}));
}

TEST_F(DataEntryLinesTest, TypingBelowEmptyLinesMovesTheLineUpAndTheCaretWithIt) {
    open();
    type(kQuantity1 + 2, "7");
    auto* third = control<QPlainTextEdit>(kName1 + 2);
    third->setFocus();
    QTest::keyClicks(QApplication::focusWidget(), "a");
    QTest::keyClicks(QApplication::focusWidget(), "bcd");
    EXPECT_EQ(text(kName1), "abcd");
    EXPECT_EQ(text(kQuantity1), "7");
    EXPECT_EQ(text(kName1 + 1), "");
    EXPECT_EQ(text(kName1 + 2), "");
    EXPECT_TRUE(control(kName1)->hasFocus());
    EXPECT_EQ(workingOrder().lineCount, 1);
    // Broke before: the box the text left went on drawing a caret.
    QApplication::processEvents();
    const QImage left = control<QPlainTextEdit>(kName1 + 2)->viewport()->grab().toImage();
    const QRgb background = left.pixel(left.width() / 2, left.height() / 2);
    int marks = 0;
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            marks += left.pixel(x, y) != background;
        }
    }
    EXPECT_EQ(marks, 0) << "a caret is drawn in the box the text moved out of";
}

TEST_F(DataEntryLinesTest, NumberShownLongerThanItsLimitNeverGrows) {
    orderLine(0, "ボルト", "  123456.50", "個", "12000.00");
    open();
    control(kUnitPrice1)->setFocus();
    EXPECT_EQ(text(kUnitPrice1), "12000.00");
    QTest::keyClicks(control(kUnitPrice1), "5678");
    EXPECT_EQ(text(kUnitPrice1), "12000.00");
    control(kQuantity1)->setFocus();
    QTest::keyClicks(control(kQuantity1), "5");
    leaveField();
    EXPECT_EQ(text(kUnitPrice1), "12,000.00");
    EXPECT_EQ(text(kQuantity1), "123,456.50");

    // Shortening the long text still works, and then it takes keys again.
    control(kUnitPrice1)->setFocus();
    QTest::keyClick(control(kUnitPrice1), Qt::Key_Backspace);
    QTest::keyClick(control(kUnitPrice1), Qt::Key_Backspace);
    QTest::keyClicks(control(kUnitPrice1), "5");
    EXPECT_EQ(text(kUnitPrice1), "12000.5");
}

TEST_F(DataEntryLinesTest, WheelOverAListTheUserIsNotInChangesNothing) {
    open();
    auto* unit = control<QComboBox>(kUnit1);
    const QString before = unit->currentText();
    control(kQuantity1)->setFocus();
    QWheelEvent wheel(QPointF(5, 5), unit->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(unit, &wheel);
    EXPECT_EQ(unit->currentText(), before);
    EXPECT_TRUE(control(kQuantity1)->hasFocus());
}

TEST_F(DataEntryLinesTest, NumberFieldsShowTheirWidestTexts) {
    open();
    const std::pair<int, const char*> widest[] = {
        {kQuantity1, "99,999,999"}, {kUnitPrice1, "9,999,999.00"}, {kAmount1, "2,147,483,647"}};
    for (const auto& [id, number] : widest) {
        auto* edit = control<QLineEdit>(id);
        edit->setText(number);
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
        const QRect contents =
            edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
        EXPECT_GE(contents.width() - 4, edit->fontMetrics().horizontalAdvance(number)) << number;
    }
}

TEST_F(DataEntryLinesTest, AmountIsQuantityTimesUnitPriceRoundedHalfUp) {
    orderLine(0, "ボルト");
    open();
    type(kQuantity1, "3");
    type(kUnitPrice1, "333.33");
    leaveField();
    EXPECT_EQ(text(kAmount1), "1,000");
    EXPECT_EQ(text(kUnitPrice1), "333.33");

    // The quantity recomputes the amount as it is typed.
    type(kQuantity1, "0");
    EXPECT_EQ(text(kAmount1), "10,000");
}

TEST_F(DataEntryLinesTest, ZeroQuantityLeavesATypedAmountUntouched) {
    orderLine(0, "ボルト");
    open();
    control(kAmount1)->setFocus();
    QTest::keyClicks(control(kAmount1), "1500");
    leaveField();
    type(kQuantity1, "0");
    type(kUnitPrice1, "250");
    leaveField();
    EXPECT_EQ(text(kAmount1), "1,500");
}

TEST_F(DataEntryLinesTest, NumbersAreGroupedExceptWhileEdited) {
    orderLine(0, "ボルト", "    1000", "個", " 2500.00");
    open();
    EXPECT_EQ(text(kQuantity1), "1,000");
    control(kQuantity1)->setFocus();
    EXPECT_EQ(text(kQuantity1), "1000");
    QTest::keyClicks(control(kQuantity1), "0");
    leaveField();
    EXPECT_EQ(text(kQuantity1), "10,000");
    EXPECT_EQ(sjisView(workingOrder().lines[0].quantity), "10000");
    EXPECT_EQ(text(kAmount1), "25,000,000");
}

TEST_F(DataEntryLinesTest, OverFlowIsShownAndKeptOnOk) {
    orderLine(0, "ボルト");
    open();
    type(kQuantity1, "99999999");
    type(kUnitPrice1, "9999999");
    leaveField();
    EXPECT_EQ(text(kAmount1), "Over Flow");
    click(kOk);
    EXPECT_EQ(dialog->result(), 1);
    EXPECT_EQ(sjisView(currentOrder().lines[0].amount), "Over Flow");
}

TEST_F(DataEntryLinesTest, OverFlowIsNotGroupedWhenTheDialogOpensAgain) {
    orderLine(0, "ボルト", "99999999", "個", "9999999.00");
    copySjis(currentOrder().lines[0].amount, "Over Flow");
    open();
    EXPECT_EQ(text(kAmount1), "Over Flow");
    click(kOk);
    EXPECT_EQ(sjisView(currentOrder().lines[0].amount), "Over Flow");
}

TEST_F(DataEntryLinesTest, TypedAmountGivesTheUnitPriceWithoutRecomputingItself) {
    orderLine(0, "ボルト");
    open();
    type(kQuantity1, "3");
    control(kAmount1)->setFocus();
    QTest::keyClicks(control(kAmount1), "1000");
    leaveField();
    EXPECT_EQ(text(kUnitPrice1), "333.33");
    EXPECT_EQ(text(kAmount1), "1,000");
}

TEST_F(DataEntryLinesTest, DatePickerWritesTheDeliveryDateInTwoLines) {
    orderLine(0, "ボルト");
    open();
    auto* picker = control<DateDropButton>(kDatePicker1);
    EXPECT_EQ(picker->date(), QDate(2024, 3, 5));
    picker->pickDate(QDate(2024, 11, 7));
    EXPECT_EQ(text(kDeliveryDate1), "2024年\n11月07日");
    EXPECT_EQ(sjisView(workingOrder().lines[0].deliveryDate), sj("2024年\r\n11月07日"));
}

TEST_F(DataEntryLinesTest, SplitButtonOfAnUnnamedLineOpensNothing) {
    orderLine(0, "ボルト");
    int calls = 0;
    setPartialDeliveryHook([&](DataEntryDialog&, int) { return ++calls; });
    open();
    click(kSplit1 + 2);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(dialog->lineToSplit(), 3);
    EXPECT_EQ(control(kSplit1 + 4), nullptr);
}

TEST_F(DataEntryLinesTest, OkWritesDisplayLinesAsTheBoxesShowThem) {
    orderLine(0, "ボルト");
    open();
    auto* name = control<QPlainTextEdit>(kName1);
    name->setFocus();
    name->selectAll();
    // Longer than a line of the box: the edit wraps it.
    const QString longName = QString(60, QLatin1Char('W'));
    typeText(name, longName);
    control(kPlace1)->setFocus();
    control<QPlainTextEdit>(kPlace1)->moveCursor(QTextCursor::End);
    QTest::keyClick(control(kPlace1), Qt::Key_Return);
    click(kOk);

    const OrderLine& line = currentOrder().lines[0];
    const std::string first(sjisView(line.nameLine1));
    const std::string second(sjisView(line.nameLine2));
    EXPECT_GE(first.size(), 30u);
    EXPECT_LE(first.size(), 40u);
    EXPECT_EQ(first + second, longName.toStdString().substr(0, first.size() + second.size()));
    EXPECT_EQ(sjisView(line.name), longName.toStdString());
    EXPECT_EQ(sjisView(line.deliveryDateLine1), sj("2024年"));
    EXPECT_EQ(sjisView(line.deliveryDateLine2), sj("03月05日"));
    EXPECT_EQ(sjisView(line.deliveryPlace), sj("本社工場\r\n"));
    EXPECT_EQ(sjisView(line.deliveryPlaceLine1), sj("本社工場"));
}

}  // namespace
}  // namespace belvorine::test
