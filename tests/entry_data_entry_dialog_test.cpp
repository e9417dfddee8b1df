// The data entry dialog as a whole: what it shows when it opens, its
// buttons, the refusals of "既存データ", the commit of the header and the
// payment, the input that it refuses and its help.

#include "entry_dialog_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QRadioButton>

#include "widgets/context_help.h"
#include "widgets/up_down_control.h"

namespace belvorine::test {
namespace {

using DataEntryDialogTest = DataEntryTest;

TEST_F(DataEntryDialogTest, OpensWithTheOrderHeaderAndOnlyThisFormatsCounterparties) {
    copySjis(currentOrder().counterparty, sj(""));
    open();
    EXPECT_EQ(dialog->windowTitle(), "データ入力");
    EXPECT_EQ(control<QLabel>(kFormatName)->text(), "書式１");
    EXPECT_EQ(text(kYear), "2024");
    EXPECT_EQ(text(kMonth), "3");
    EXPECT_EQ(text(kDay), "5");
    EXPECT_EQ(text(kCounterparty), "「相手先」");
    auto* combo = control<QComboBox>(kCounterparty);
    ASSERT_EQ(combo->count(), 1);
    EXPECT_EQ(combo->itemText(0), "山田商事");
    // The unit boxes offer the whole unit list.
    EXPECT_EQ(control<QComboBox>(kUnit1 + 4)->count(),
              static_cast<int>(orderStore().units().size()));
    EXPECT_TRUE(control<QRadioButton>(kNoteRadio)->isChecked());
    EXPECT_FALSE(control<QLineEdit>(kNoteDays)->isReadOnly());
    EXPECT_FALSE(control(kApproval)->isVisible());
    EXPECT_FALSE(control(kApprovalLabel)->isVisible());
}

TEST_F(DataEntryDialogTest, EveryNumberedControlHasItsPopUpHelp) {
    open();
    int numbered = 0;
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
        if (const int id = controlIdOf(widget); id > 0) {
            ++numbered;
            EXPECT_NE(helpIdForControl(id), 0) << id;
        }
    }
    EXPECT_EQ(numbered, 79);
}

TEST_F(DataEntryDialogTest, F1OnTheCounterpartyBoxAsksForItsOwnHelpText) {
    open();
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, Qt::Key_F1);
    while (focus && controlIdOf(focus) < 1) {
        focus = focus->parentWidget();
    }
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(controlIdOf(focus), kCounterparty);
    EXPECT_EQ(helpIdForControl(controlIdOf(focus)), 11013);
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(DataEntryDialogTest, HelpTopicDependsOnTheApprovalNumberOption) {
    EXPECT_EQ(dataEntryHelpTopic(), "::/inpdata01.html");
    printerSettings(0).approvalOnCopy = 1;
    EXPECT_EQ(dataEntryHelpTopic(), "::/inpdata02.html");
    printerSettings(0).approvalOnCopy = 0;
    settings().initialData.formatIndex = 1;
    printerSettings(1).approvalOnCopy = 1;
    EXPECT_EQ(dataEntryHelpTopic(), "::/inpdata02.html");
}

TEST_F(DataEntryDialogTest, SecondFormatShowsItsNameAndCounterparties) {
    settings().initialData.formatIndex = 1;
    open();
    EXPECT_EQ(control<QLabel>(kFormatName)->text(), "書式２");
    auto* combo = control<QComboBox>(kCounterparty);
    ASSERT_EQ(combo->count(), 1);
    EXPECT_EQ(combo->itemText(0), "鈴木工業");
}

TEST_F(DataEntryDialogTest, DateSpinsWrapAtTheEndsOfTheirRanges) {
    copySjis(currentOrder().year, "2100");
    copySjis(currentOrder().month, "12");
    open();
    control<UpDownControl>(kYearUpDown)->step(1);
    EXPECT_EQ(text(kYear), "2000");
    control(kMonth)->setFocus();
    QTest::keyClick(control(kMonth), Qt::Key_Up);
    EXPECT_EQ(text(kMonth), "1");
    QTest::keyClick(control(kMonth), Qt::Key_Down);
    EXPECT_EQ(text(kMonth), "12");
    EXPECT_EQ(sjisView(workingOrder().month), "12");
}

TEST_F(DataEntryDialogTest, ExistingDataRefusesInOrderCounterpartyThenUnknownThenNoRoom) {
    for (int slot = 0; slot < 5; ++slot) {
        orderLine(slot, "ボルト");
    }
    std::vector<std::string> picked;
    setExistingDataHook([&](DataEntryDialog&, const std::string& counterparty) {
        picked.push_back(counterparty);
        return 2;
    });
    open();
    click(kExistingData);
    control<QComboBox>(kCounterparty)->setEditText("丸山製作所");
    click(kExistingData);
    control<QComboBox>(kCounterparty)->setEditText("山田商事");
    click(kExistingData);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].caption, "相手先確認");
    EXPECT_EQ(messages[0].text, "相手先を指定して下さい！！");
    EXPECT_EQ(messages[1].caption, "相手先確認");
    EXPECT_EQ(messages[1].text, "相手先が既存データにありません！！");
    EXPECT_EQ(messages[2].caption, "データ確認");
    EXPECT_EQ(messages[2].text,
              "データの挿入場所がありません！！\n\n先にデータをクリアして下さい！！");
    EXPECT_EQ(messages[2].icon, MessageIcon::Warning);
    EXPECT_TRUE(picked.empty());
}

TEST_F(DataEntryDialogTest, CounterpartyOfTheOtherFormatPassesAndPickedLinesAreShown) {
    orderLine(0, "ボルト");
    setExistingDataHook([](DataEntryDialog& dialog, const std::string& counterparty) {
        EXPECT_EQ(counterparty, sj("鈴木工業"));
        WorkingOrder& working = workingOrder();
        EXPECT_EQ(working.lineCount, 1);
        EXPECT_EQ(sjisView(working.paymentText), "45");
        copySjis(working.lines[1].name, sj("ナット\r\n"));
        copySjis(working.lines[1].quantity, "      20");
        copySjis(working.lines[1].unitPrice, "   10.00");
        working.lineCount = 2;
        (void)dialog;
        return 1;
    });
    open();
    control<QComboBox>(kCounterparty)->setEditText("鈴木工業");
    type(kNoteDays, "45");
    click(kExistingData);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(text(kName1 + 1), "ナット\n");
    EXPECT_EQ(text(kAmount1 + 1), "200");
    EXPECT_EQ(workingOrder().lineCount, 2);
}

TEST_F(DataEntryDialogTest, ClearThenCancelLeavesTheOrderWithoutLines) {
    orderLine(0, "ボルト", "      10", "個", "  500.00");
    orderLine(1, "ナット");
    copySjis(currentOrder().approvalNo, "K-1");
    answer = kResultYes;
    open();
    type(kNoteDays, "60");
    click(kClear);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "データ消去");
    EXPECT_EQ(messages[0].text, "クリアーしてよろしいですか？");
    EXPECT_EQ(messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(text(kName1), "");
    EXPECT_EQ(text(kNoteDays), "");
    click(kCancel);
    EXPECT_EQ(dialog->result(), 2);
    for (const OrderLine& line : currentOrder().lines) {
        EXPECT_EQ(sjisView(line.nameLine1), "");
        EXPECT_EQ(sjisView(line.name), "");
    }
    EXPECT_EQ(sjisView(currentOrder().approvalNo), "K-1");
}

TEST_F(DataEntryDialogTest, ClearAnsweredNoChangesNothing) {
    orderLine(0, "ボルト");
    answer = kResultNo;
    open();
    click(kClear);
    EXPECT_EQ(text(kName1), "ボルト");
    EXPECT_EQ(sjisView(currentOrder().lines[0].name), sj("ボルト"));
}

TEST_F(DataEntryDialogTest, ApprovalNumberTypedBeforeACancelIsOfferedAgain) {
    printerSettings(0).approvalOnCopy = 1;
    open();
    EXPECT_TRUE(control(kApproval)->isVisible());
    type(kApproval, "A-123");
    click(kCancel);
    EXPECT_EQ(dialog->result(), 2);
    EXPECT_EQ(sjisView(currentOrder().approvalNo), "");
    open();
    EXPECT_EQ(text(kApproval), "A-123");
}

TEST_F(DataEntryDialogTest, OkWritesHeaderAndNotePayment) {
    orderLine(0, "ボルト");
    printerSettings(0).approvalOnCopy = 1;
    open();
    control<QComboBox>(kCounterparty)->setEditText("山田商事");
    type(kDay, "0");
    type(kApproval, "K-9");
    type(kNoteDays, "30");
    click(kOk);
    EXPECT_EQ(dialog->result(), 1);
    const OrderRecord& order = currentOrder();
    EXPECT_EQ(sjisView(order.counterparty), sj("山田商事"));
    EXPECT_EQ(sjisView(order.day), "50");
    EXPECT_EQ(sjisView(order.approvalNo), "K-9");
    EXPECT_EQ(order.paymentKind, kPaymentNote);
    EXPECT_EQ(sjisView(order.paymentText), "30");
    EXPECT_EQ(sjisView(order.lines[0].quantity), "       0");
}

TEST_F(DataEntryDialogTest, LeaseIsStoredAsHalfWidthKatakanaAndClearsTheNoteDays) {
    copySjis(currentOrder().paymentText, "30");
    open();
    EXPECT_EQ(text(kNoteDays), "30");
    click(kLeaseRadio);
    EXPECT_TRUE(control<QLineEdit>(kNoteDays)->isReadOnly());
    EXPECT_EQ(text(kNoteDays), "");
    click(kOk);
    EXPECT_EQ(currentOrder().paymentKind, kPaymentLease);
    EXPECT_EQ(sjisView(currentOrder().paymentText), "\xD8\xB0\xBD");
}

TEST_F(DataEntryDialogTest, EnterInAOneLineFieldDoesNotCloseTheDialog) {
    open();
    for (int id : {kCounterparty, kYear, kQuantity1, kUnit1, kNoteDays}) {
        control(id)->setFocus();
        QTest::keyClick(control(id), Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible()) << id;
    }
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), 2);
}

// Broke before: the number fields told the input method they take its
// text, so with it on a quantity took "１２月子".
TEST_F(DataEntryDialogTest, NumberFieldsTakeNoInputMethodAndJapaneseFieldsDo) {
    open();
    for (int id : {kYear, kMonth, kDay, kNoteDays}) {
        EXPECT_FALSE(takesInputMethod(control(id))) << id;
    }
    // A combo box is the focus widget itself; the front end asks it.
    EXPECT_TRUE(takesInputMethod(control(kCounterparty)));
    for (int slot = 0; slot < 5; ++slot) {
        for (int id : {kQuantity1, kUnitPrice1, kAmount1}) {
            EXPECT_FALSE(takesInputMethod(control(id + slot))) << id + slot;
        }
        for (int id : {kName1, kDeliveryDate1, kPlace1}) {
            EXPECT_TRUE(takesInputMethod(control(id + slot))) << id + slot;
        }
        EXPECT_TRUE(takesInputMethod(control(kUnit1 + slot)));
    }
}

// Broke before: "１２３" was split by the thousands separators into a
// character nobody typed, and OK stored 0.
TEST_F(DataEntryDialogTest, NumbersAreReadInFullWidthAndStoredAsShownOrRefused) {
    orderLine(0, "ボルト");
    open();
    const auto paste = [this](int id, const QString& number) {
        auto* edit = control<QLineEdit>(id);
        edit->setFocus();
        edit->selectAll();
        QGuiApplication::clipboard()->setText(number);
        edit->paste();
    };
    paste(kQuantity1, "１２３");
    paste(kUnitPrice1, "１５００");
    leaveField();
    EXPECT_EQ(text(kQuantity1), "123");
    EXPECT_EQ(text(kUnitPrice1), "1,500.00");
    EXPECT_EQ(text(kAmount1), "184,500");

    // A quantity the order would round is refused and the field taken back.
    paste(kQuantity1, "１．２３４");
    leaveField();
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "入力エラー");
    EXPECT_EQ(messages[0].text, "「1.234」は保存できません。\n\n数量は小数点以下２桁までです。");
    EXPECT_TRUE(control(kQuantity1)->hasFocus());
    click(kOk);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_TRUE(dialog->isVisible());
    paste(kQuantity1, "1.25");
    click(kOk);
    EXPECT_EQ(dialog->result(), 1);
    EXPECT_EQ(sjisView(currentOrder().lines[0].quantity), "    1.25");
    EXPECT_EQ(sjisView(currentOrder().lines[0].amount), "         1875");
}

TEST_F(DataEntryDialogTest, CharacterShiftJisCannotHoldIsRefusedWithAMessage) {
    open();
    control<QComboBox>(kCounterparty)->setEditText("山田");
    type(kCounterparty, "😀");
    QCoreApplication::processEvents();
    type(kName1, "한");
    QCoreApplication::processEvents();
    EXPECT_EQ(text(kCounterparty), "山田");
    EXPECT_EQ(text(kName1), "");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].caption, "入力エラー");
    EXPECT_EQ(messages[0].text, "「😀」（U+1F600）はこの欄に入力できない文字です。");
    EXPECT_EQ(messages[1].text, "「한」（U+D55C）はこの欄に入力できない文字です。");
    click(kOk);
    EXPECT_EQ(sjisView(currentOrder().counterparty), sj("山田"));
    EXPECT_EQ(sjisView(currentOrder().lines[0].name), "");
}

TEST_F(DataEntryDialogTest, OverLongPasteOrConversionIsCutAtTheLimit) {
    orderLine(0, "ボルト");
    open();
    QGuiApplication::clipboard()->setText("123456789");
    control(kQuantity1)->setFocus();
    control<QLineEdit>(kQuantity1)->paste();
    EXPECT_EQ(text(kQuantity1), "12345678");
    // 255 bytes: "ボルト" takes 6, so 124 of the pasted characters fit.
    QGuiApplication::clipboard()->setText(QString(128, QChar(0x30DC)));
    auto* name = control<QPlainTextEdit>(kName1);
    name->setFocus();
    name->moveCursor(QTextCursor::End);
    name->paste();
    EXPECT_EQ(text(kName1), "ボルト" + QString(124, QChar(0x30DC)));
    EXPECT_EQ(name->textCursor().position(), 127);
    // A unit of nine bytes from one conversion keeps four whole characters.
    auto* unit = control<QComboBox>(kUnit1);
    unit->setFocus();
    unit->lineEdit()->clear();
    compose(unit, {"きろぐらむ"}, "キログラム");
    EXPECT_EQ(text(kUnit1), "キログラ");
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace belvorine::test
