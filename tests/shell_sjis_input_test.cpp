// The shared input pieces of the dialogs: Shift-JIS limits on one-line and
// multi-line fields, the record text conversions, the up-down control and
// the lines of a box as it shows them.

#include <gtest/gtest.h>

#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QVBoxLayout>

#include "test_support.h"
#include "widgets/message_box.h"
#include "widgets/shown_lines.h"
#include "widgets/sjis_input.h"
#include "widgets/up_down_control.h"

using namespace belvorine;
using belvorine::test::takesInputMethod;

namespace {

void commitText(QWidget* widget, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(widget, &commit);
}

// A shown, active window holding the field under test.
class FieldTest : public ::testing::Test {
protected:
    void SetUp() override {
        setMessageHandlerForTesting([this](const MessageRequest& request) {
            messages.push_back(request.text);
            return kResultOk;
        });
        layout = new QVBoxLayout(&window);
    }
    void TearDown() override { setMessageHandlerForTesting({}); }

    template <typename T>
    T* add(T* widget) {
        layout->addWidget(widget);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        widget->setFocus();
        return widget;
    }

    QDialog window;
    QVBoxLayout* layout = nullptr;
    std::vector<QString> messages;
};

TEST_F(FieldTest, LineEditCountsBytesSoDoubleByteCharactersTakeTwo) {
    auto* edit = add(new QLineEdit);
    limitSjisInput(edit, 9);
    commitText(edit, "缶缶缶缶");
    QTest::keyClicks(edit, "a");
    EXPECT_EQ(edit->text(), "缶缶缶缶a");
    commitText(edit, "缶");
    QTest::keyClicks(edit, "b");
    EXPECT_EQ(edit->text(), "缶缶缶缶a");
    // A text the program sets is never cut.
    edit->setText("1,234,567,890");
    EXPECT_EQ(edit->text(), "1,234,567,890");
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages.empty());
}

TEST_F(FieldTest, LineEditRefusesACharacterOutsideCodePage932WithItsName) {
    auto* edit = add(new QLineEdit);
    limitSjisInput(edit, 255);
    QTest::keyClicks(edit, "ab");
    commitText(edit, "①髙");  // NEC and IBM extensions are in code page 932
    commitText(edit, "€");
    QCoreApplication::processEvents();
    EXPECT_EQ(edit->text(), "ab①髙");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "「€」（U+20AC）はこの欄に入力できない文字です。");
    // Named by its code point too: the font may have no picture of it.
    commitText(edit, "𠮷");
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], "「𠮷」（U+20BB7）はこの欄に入力できない文字です。");
}

TEST_F(FieldTest, DigitFieldTakesDigitsOnlyAndPastedLinesStopAtTheFirstBreak) {
    auto* edit = add(new QLineEdit);
    limitSjisInput(edit, 7, InputKind::Digits);
    QTest::keyClicks(edit, "3a0-");
    EXPECT_EQ(edit->text(), "30");
    // Broke before: full-width digits (typed with the input method left on,
    // or pasted) were refused, or in a number field kept as bytes that the
    // thousands separators split.
    commitText(edit, "１２");
    EXPECT_EQ(edit->text(), "3012");
    auto* number = add(new QLineEdit);
    limitSjisInput(number, 10, InputKind::Number);
    QGuiApplication::clipboard()->setText("－１，２３４．５");
    number->paste();
    EXPECT_EQ(number->text(), "-1,234.5");
    QTest::keyClicks(number, "e");
    EXPECT_EQ(number->text(), "-1,234.5");
    // A word the program showed there can still be erased.
    number->setText("Over Flow");
    number->end(false);
    QTest::keyClick(number, Qt::Key_Backspace);
    EXPECT_EQ(number->text(), "Over Flo");
    auto* name = add(new QLineEdit);
    limitSjisInput(name, 255);
    QGuiApplication::clipboard()->setText("first\r\nsecond");
    name->paste();
    EXPECT_EQ(name->text(), "first");
}

TEST_F(FieldTest, MultiLineEditUndoesARefusedEditAndKeepsTheCursor) {
    auto* edit = add(new QPlainTextEdit);
    limitSjisInput(edit, 10);
    QTest::keyClicks(edit, "abcd");
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, "efgh");
    EXPECT_EQ(edit->toPlainText(), "abcd\nefgh");  // 10 bytes with CR LF
    edit->moveCursor(QTextCursor::Start);
    edit->moveCursor(QTextCursor::Right);
    QTest::keyClicks(edit, "x");
    EXPECT_EQ(edit->toPlainText(), "abcd\nefgh");
    EXPECT_EQ(edit->textCursor().position(), 1);
    commitText(edit, "😀");
    QCoreApplication::processEvents();
    EXPECT_EQ(edit->toPlainText(), "abcd\nefgh");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "「😀」（U+1F600）はこの欄に入力できない文字です。");
    // Erasing still works after a refusal.
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->toPlainText(), "acd\nefgh");
    // A text the program sets is taken whole, even an over-long one.
    edit->setPlainText("0123456789ABC");
    EXPECT_EQ(edit->toPlainText(), "0123456789ABC");
    edit->moveCursor(QTextCursor::End);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->toPlainText(), "0123456789AB");
    QTest::keyClicks(edit, "C");
    EXPECT_EQ(edit->toPlainText(), "0123456789AB");
}

// Broke before: a line edit told the front end it takes the input method
// whatever its attribute said, so Mozc composed "１２月子" into a quantity.
TEST_F(FieldTest, NumericFieldTellsTheInputMethodItTakesNoneAndTextFieldsThatTheyDo) {
    auto* number = add(new QLineEdit);
    useNumericInput(number, true);
    number->setReadOnly(true);
    number->setReadOnly(false);
    EXPECT_FALSE(takesInputMethod(number));
    EXPECT_FALSE(number->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_TRUE(number->inputMethodHints() & Qt::ImhDigitsOnly);
    QInputMethodQueryEvent hints(Qt::ImHints);
    QApplication::sendEvent(number, &hints);
    EXPECT_TRUE(hints.value(Qt::ImHints).toInt() & Qt::ImhDigitsOnly);

    auto* name = add(new QPlainTextEdit);
    useJapaneseInput(name);
    EXPECT_TRUE(takesInputMethod(name));
}

TEST(RecordText, LineBreaksBecomeCrLfAndCutsKeepWholeCharacters) {
    EXPECT_EQ(toRecordText("本社\n工場", 255), toSjisLossy("本社\r\n工場"));
    EXPECT_EQ(toRecordText("ab本社", 4), toSjisLossy("ab本"));
    EXPECT_EQ(toRecordText("ab本社", 3), "ab");
    EXPECT_EQ(fromRecordText(toSjisLossy("本社\r\n工場")), "本社\n工場");
    char unit[10];
    storeRecordText(unit, "缶缶缶缶缶", 9);
    EXPECT_EQ(sjisView(unit), toSjisLossy("缶缶缶缶"));
}

TEST(RecordText, CharacterOutsideCodePage932IsLeftOutNeverMadeAQuestionMark) {
    EXPECT_EQ(toRecordText("a😀b", 255), "ab");
    EXPECT_EQ(sjisRecordLength("a😀b"), -1);
    EXPECT_EQ(sjisRecordLength("本\n"), 4);
}

TEST(UpDownControl, StepsWrapAndTakeTheTypedNumberWhenItIsInRange) {
    QWidget parent;
    auto* edit = new QLineEdit(&parent);
    UpDownControl upDown(edit, 1, 12, &parent);
    edit->setText("12");
    upDown.step(1);
    EXPECT_EQ(edit->text(), "1");
    upDown.step(-1);
    EXPECT_EQ(edit->text(), "12");
    edit->setText("5");
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), "6");
    // Out of range or not a number: from the last position.
    edit->setText("99");
    upDown.step(1);
    EXPECT_EQ(edit->text(), "7");
    edit->setText("");
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->text(), "6");
}

TEST_F(FieldTest, ShownLinesFollowTheWrapOnScreenAndTheParagraphsOtherwise) {
    QPlainTextEdit hidden;
    hidden.setPlainText("first line\nsecond\nthird");
    EXPECT_EQ(shownLines(&hidden, 2), QStringList({"first line", "second"}));
    EXPECT_EQ(shownLines(&hidden, 5), QStringList({"first line", "second", "third"}));

    auto* edit = add(new QPlainTextEdit);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance("0000000000") + 20);
    edit->setPlainText("abcdefghijklmnopqrstuvwxyz\nnext");
    QCoreApplication::processEvents();
    const QStringList lines = shownLines(edit, 2);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_LT(lines[0].size(), 26);
    EXPECT_TRUE(QString("abcdefghijklmnopqrstuvwxyz").startsWith(lines[0] + lines[1]));
}

}  // namespace
