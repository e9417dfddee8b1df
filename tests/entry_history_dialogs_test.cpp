// The data entry dialog with the dialogs of the order history plugged in:
// picking rows of earlier orders, splitting a line into partial
// deliveries, and the existing data browser's sorting and bulk change.

#include "entry_dialog_fixture.h"
#include "history_dialog_support.h"

#include <cstring>

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QWheelEvent>

#include "data/factory_values.h"
#include "data/order_file_format.h"
#include "entry/existing_data_browser.h"
#include "entry/history_dialog_ids.h"
#include "entry/history_dialogs.h"

namespace belvorine::test {
namespace {

class HistoryDialogsTest : public DataEntryTest {
protected:
    void SetUp() override {
        DataEntryTest::SetUp();
        orderStore().clear();
        for (const char* row : {
                 "山田商事\t30\tボルト\t\t      10\t個\t  500.00\t本社工場\t\t0",
                 "山田商事\t30\tナット\tM8\t     200\t個\t    5.00\t第二工場\t\t0",
                 "山田商事\t現金\tワッシャー\t\t      50\t袋\t    2.00\t本社工場\t\t1",
                 "山田商事\tﾘｰｽ\tコピー機\t\t       1\t台\t 8000.00\t本社\t\t0",
                 "鈴木工業\t現金\tナット\t\t      20\t個\t   10.00\t本社工場\t\t1",
             }) {
            orderStore().addRow(sj(row));
        }
        orderStore().buildLists();
        orderStore().markLoaded();
        settings().listDialog = factoryListDialogSettings();
        installHistoryDialogs();
        resetListSortForTesting();
        selectedCounterparty().clear();
        copySjis(currentOrder().counterparty, sj("山田商事"));
    }

    std::vector<std::string> rowsOf(const char* counterparty, int field) {
        std::vector<std::string> texts;
        for (int row = 0; row < orderStore().rowCount(); ++row) {
            if (orderStore().field(row, kStoreCounterparty) == sj(counterparty)) {
                texts.emplace_back(orderStore().field(row, field));
            }
        }
        return texts;
    }

    ProgramFolder folder;
};

QTableView* listOf(QWidget* browser) {
    return qobject_cast<QTableView*>(findControl(browser, existing_data::kList));
}

TEST_F(HistoryDialogsTest, PickFillsTheFreeLinesWithTheTopmostSelectedRows) {
    orderLine(0, "一");
    orderLine(1, "二");
    orderLine(2, "三");
    open();
    onNextDialog([](QWidget* browser) {
        EXPECT_EQ(browser->windowTitle(), "既存データ選択");
        EXPECT_FALSE(findControl(browser, existing_data::kEdit)->isVisible());
        QTableView* view = listOf(browser);
        // Both formats' rows, sorted by name.
        EXPECT_EQ(columnTexts(view, 1),
                  QStringList({"コピー機", "ナットM8", "ボルト", "ワッシャー"}));
        // Chosen bottom-up, rows 3 to 1 at once and row 0 on its own: the
        // list order decides, not the click order.
        clickRow(view, 3);
        clickRow(view, 1, Qt::ShiftModifier);
        clickRow(view, 0, Qt::ControlModifier);
        clickControl(browser, existing_data::kOk);
    });
    clickControl(dialog.get(), kExistingData);
    EXPECT_EQ(text(kName1 + 3), "コピー機\n");
    EXPECT_EQ(text(kName1 + 4), "ナット\nM8");
    EXPECT_EQ(text(kName1 + 2), "三");
    EXPECT_EQ(text(kUnit1 + 3), "台");
    EXPECT_EQ(text(kAmount1 + 3), "8,000");
    EXPECT_EQ(text(kPlace1 + 4), "第二工場\n");
    EXPECT_EQ(workingOrder().lineCount, 5);
    // No note days typed: the first picked row's terms come along.
    EXPECT_TRUE(control<QRadioButton>(kLeaseRadio)->isChecked());
}

TEST_F(HistoryDialogsTest, SplitWithEnterInTheLastEditStoresTheTotalInTheHistory) {
    orderLine(0, "ボルト", "1000", "個", "2.00");
    open();
    onNextDialog([](QWidget* split) {
        QWidget* first = findControl(split, partial_delivery::kPart1);
        first->setFocus();
        typeText(first, "300\t");
        typeText(QApplication::focusWidget(), "300\t");
        QWidget* last = QApplication::focusWidget();
        ASSERT_EQ(controlIdOf(last), partial_delivery::kPart1 + 2);
        typeText(last, "400");
        QTest::keyClick(last, Qt::Key_Return);
    });
    clickControl(dialog.get(), kSplit1);
    EXPECT_TRUE(messages.empty()) << "the total matches, nothing to ask";
    EXPECT_EQ(text(kQuantity1), "300");
    EXPECT_EQ(text(kQuantity1 + 1), "300");
    EXPECT_EQ(text(kQuantity1 + 2), "400");
    EXPECT_EQ(text(kName1 + 2), "ボルト");
    EXPECT_EQ(text(kAmount1 + 2), "800");
    EXPECT_EQ(text(kName1 + 3), "");
    click(kOk);
    EXPECT_EQ(currentOrder().lines[2].splitFrom, 1);
    // The print's append stores the total once for the three lines.
    ASSERT_EQ(appendCurrentOrder(), 1);
    std::vector<std::string> quantities;
    for (int row = 0; row < orderStore().rowCount(); ++row) {
        if (orderStore().field(row, kStoreNameLine1) == sj("ボルト")) {
            quantities.emplace_back(orderStore().field(row, kStoreQuantity));
        }
    }
    std::sort(quantities.begin(), quantities.end());
    EXPECT_EQ(quantities, std::vector<std::string>({"      10", "    1000"}));
}

TEST_F(HistoryDialogsTest, ADifferentTotalAsksAndNoLeavesTheOrderAsItWas) {
    orderLine(0, "ボルト", "350", "個", "2.00");
    copySjis(currentOrder().lines[0].amount, "          700");
    orderLine(1, "ナット", "5", "個", "1.00");
    open();
    answer = kResultNo;
    onNextDialog([this](QWidget* split) {
        EXPECT_EQ(qobject_cast<QLabel*>(findControl(split, partial_delivery::kBefore))->text(),
                  "350");
        // Line 1 can take all five parts; the working order as it stands.
        EXPECT_FALSE(qobject_cast<QLineEdit*>(findControl(split, partial_delivery::kPart1 + 4))
                         ->isReadOnly());
        std::vector<char> before(sizeof(WorkingOrder));
        std::memcpy(before.data(), &workingOrder(), before.size());
        const auto part = [split](int k, const char* quantity) {
            auto* edit = qobject_cast<QLineEdit*>(findControl(split, partial_delivery::kPart1 + k));
            edit->setFocus();
            typeText(edit, quantity);
        };
        part(0, "100");
        part(1, "250.5");
        part(2, "0");
        clickControl(split, partial_delivery::kOk);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text,
                  "分納前の総発注数量 ： 350\n分納後の総発注数量 ： 350.50\n\n"
                  "総発注数量が分納前と違いますがよろしいですか？");
        EXPECT_EQ(messages[0].icon, MessageIcon::None);
        EXPECT_EQ(std::memcmp(before.data(), &workingOrder(), before.size()), 0);
        EXPECT_TRUE(split->isVisible());
        // Yes to both questions: the filled line 2 is overwritten only now.
        answer = kResultYes;
        clickControl(split, partial_delivery::kOk);
        ASSERT_EQ(messages.size(), 3u);
        EXPECT_EQ(messages[2].text,
                  "明細 2 行目は分納の明細で上書きされます。\n\nよろしいですか？");
    });
    clickControl(dialog.get(), kSplit1);
    EXPECT_EQ(text(kName1 + 1), "ボルト");
    EXPECT_EQ(text(kQuantity1 + 1), "250.5");
    EXPECT_EQ(text(kAmount1 + 1), "501");
    // A partial quantity of 0 has no amount, not the amount of line 1.
    EXPECT_EQ(text(kQuantity1 + 2), "0");
    EXPECT_EQ(text(kAmount1 + 2), "");
    EXPECT_EQ(sjisView(workingOrder().lines[2].totalQuantity), "  350.50");
}

// Broke before: read-only parts looked editable and took Tab, and "１２３４"
// was grouped into a broken character.
TEST_F(HistoryDialogsTest, SplitOfLineFourOffersTwoPartsAndReadsFullWidthDigits) {
    orderLine(0, "一");
    orderLine(1, "二");
    orderLine(2, "三");
    orderLine(3, "ボルト", "1234", "個", "2.00");
    open();
    onNextDialog([this](QWidget* split) {
        const auto part = [split](int k) {
            return qobject_cast<QLineEdit*>(findControl(split, partial_delivery::kPart1 + k));
        };
        EXPECT_NE(part(2)->palette().color(QPalette::Base),
                  part(1)->palette().color(QPalette::Base));
        part(0)->setFocus();
        QGuiApplication::clipboard()->setText("１２３４");
        part(0)->paste();
        QTest::keyClick(part(0), Qt::Key_Tab);
        EXPECT_EQ(part(0)->text(), "1,234");
        EXPECT_TRUE(part(1)->hasFocus());
        QTest::keyClick(part(1), Qt::Key_Tab);
        EXPECT_FALSE(part(2)->hasFocus()) << "a read-only part takes no Tab";
        EXPECT_EQ(qobject_cast<QLabel*>(findControl(split, partial_delivery::kAfter))->text(),
                  "1,234");
        clickControl(split, partial_delivery::kOk);
        EXPECT_TRUE(messages.empty());
    });
    clickControl(dialog.get(), kSplit1 + 3);
    EXPECT_EQ(text(kQuantity1 + 3), "1,234");
    EXPECT_EQ(workingOrder().lines[3].splitFrom, 4);
}

// Broke before: the unit price was cut to seven characters (1234567.89 was
// stored as 1234567.00) and "１２" became 0.
TEST_F(HistoryDialogsTest, RowEditorStoresNumbersAsTypedOrRefusesThem) {
    selectedCounterparty() = sj("山田商事");
    onNextDialog([this](QWidget* browser) {
        QTableView* view = listOf(browser);
        clickRow(view, 2);  // ボルト
        onNextDialog([](QWidget* editor) {
            auto* quantity = qobject_cast<QLineEdit*>(findControl(editor, row_editor::kQuantity));
            auto* price = qobject_cast<QLineEdit*>(findControl(editor, row_editor::kUnitPrice));
            retype(price, "1234567.89");
            quantity->setFocus();
            EXPECT_EQ(price->text(), "1234567.89");
            quantity->selectAll();
            QGuiApplication::clipboard()->setText("１２");
            quantity->paste();
            clickControl(editor, row_editor::kOk);
        });
        clickControl(browser, existing_data::kEdit);
        EXPECT_TRUE(messages.empty());

        clickRow(view, 2);
        onNextDialog([this](QWidget* editor) {
            retype(qobject_cast<QLineEdit*>(findControl(editor, row_editor::kQuantity)), "1.234");
            clickControl(editor, row_editor::kOk);
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0].text,
                      "「1.234」は保存できません。\n\n数量は小数点以下２桁までです。");
            EXPECT_TRUE(editor->isVisible());
            EXPECT_TRUE(findControl(editor, row_editor::kQuantity)->hasFocus());
            clickControl(editor, row_editor::kCancel);
        });
        clickControl(browser, existing_data::kEdit);
        clickControl(browser, existing_data::kOk);
    });
    EXPECT_EQ(editExistingData(nullptr), 1);
    EXPECT_EQ(rowsOf("山田商事", kStoreQuantity)[0], "      12");
    EXPECT_EQ(rowsOf("山田商事", kStoreUnitPrice)[0], "1234567.89");
}

// Broke before: Enter in the counterparty box pressed OK, End in the list
// did nothing, and the row editor's unit box was as narrow as the shortest
// units of the history. The days edit comes right after "手形" in Tab order,
// as it is shown.
TEST_F(HistoryDialogsTest, KeysGoWhereTheDialogsShowThem) {
    selectedCounterparty() = sj("山田商事");
    onNextDialog([](QWidget* browser) {
        QTableView* view = listOf(browser);
        view->setFocus();
        QTest::keyClick(view, Qt::Key_End);
        EXPECT_EQ(view->selectionModel()->selectedRows().size(), 1);
        EXPECT_EQ(view->currentIndex().row(), view->model()->rowCount() - 1);
        QTest::keyClick(view, Qt::Key_Home);
        EXPECT_EQ(view->currentIndex().row(), 0);
        QTest::keyClick(view, Qt::Key_Down);  // ナット, a note of 30 days

        // Tab order as shown: the days right after "手形".
        const auto daysFollowNote = [](QWidget* dialog, int noteId, int daysId) {
            QWidget* note = findControl(dialog, noteId);
            EXPECT_EQ(controlIdOf(note->nextInFocusChain()), daysId);
            note->setFocus();
            QTest::keyClick(note, Qt::Key_Tab);
            EXPECT_EQ(controlIdOf(QApplication::focusWidget()), daysId);
        };
        onNextDialog([&](QWidget* editor) {
            daysFollowNote(editor, row_editor::kNote, row_editor::kNoteDays);
            // A unit as long as one may type: nine half-width characters.
            auto* unit = qobject_cast<QComboBox*>(findControl(editor, row_editor::kUnit));
            EXPECT_GE(unit->lineEdit()->width(),
                      unit->fontMetrics().horizontalAdvance(QStringLiteral("ｷﾛｸﾞﾗﾑｹｰｽ")));
            clickControl(editor, row_editor::kCancel);
        });
        clickControl(browser, existing_data::kEdit);
        onNextDialog([&](QWidget* change) {
            daysFollowNote(change, bulk_payment::kNote, bulk_payment::kNoteDays);
            clickControl(change, bulk_payment::kCancel);
        });
        clickControl(browser, existing_data::kBulkChange);

        auto* combo = qobject_cast<QComboBox*>(findControl(browser, existing_data::kCounterparty));
        combo->setFocus();
        combo->lineEdit()->selectAll();
        typeText(combo, "鈴木工業");
        // The combo box has the focus; it hands the keys to its line edit.
        QTest::keyClick(combo, Qt::Key_Return);
        EXPECT_TRUE(browser->isVisible());
        EXPECT_EQ(columnTexts(view, 1), QStringList({"ナット"}));
        clickControl(browser, existing_data::kCancel);
    });
    EXPECT_EQ(editExistingData(nullptr), 2);
}

TEST_F(HistoryDialogsTest, HeaderClicksSortTheTextsAsShiftJisBytes) {
    orderStore().clear();
    for (const char* name : {"ﾘｰｽ", "手形", "Ａ", "a", "B", "A"}) {
        orderStore().addRow(sj("テスト\t\t") + sj(name) + sj("\t\t       1\t個\t    1.00\t\t\t0"));
    }
    orderStore().addRow(sj("テスト\t\t品\t\t       1\t個\t   30.00\t\t\t0"));
    orderStore().buildLists();
    selectedCounterparty() = sj("テスト");
    onNextDialog([](QWidget* browser) {
        QTableView* view = listOf(browser);
        // "a" and "A" compare equal and keep their order either way.
        const QStringList ascending = {"a", "A", "B", "Ａ", "手形", "品", "ﾘｰｽ"};
        EXPECT_EQ(columnTexts(view, 1), ascending);
        clickHeader(view, 1);  // the name column turns descending first
        const QStringList descending = {"ﾘｰｽ", "品", "手形", "Ａ", "B", "a", "A"};
        EXPECT_EQ(columnTexts(view, 1), descending);
        clickHeader(view, 4);  // any other column ascending first
        EXPECT_EQ(columnTexts(view, 4).last(), "   30.00");
        clickControl(browser, existing_data::kCancel);
    });
    EXPECT_EQ(editExistingData(nullptr), 2);
}

TEST_F(HistoryDialogsTest, BulkChangeGivesEveryRowOfTheCounterpartyTheNewTerms) {
    selectedCounterparty() = sj("山田商事");
    onNextDialog([this](QWidget* browser) {
        QTableView* view = listOf(browser);
        EXPECT_EQ(columnTexts(view, 2),
                  QStringList({"ﾘｰｽ", "手形   30 日", "手形   30 日", "現金"}));
        EXPECT_EQ(columnTexts(view, 6), QStringList({"書式１", "書式１", "書式１", "書式２"}));
        onNextDialog([](QWidget* change) {
            // The first listed row's terms.
            EXPECT_TRUE(qobject_cast<QRadioButton*>(findControl(change, bulk_payment::kLease))
                            ->isChecked());
            clickControl(change, bulk_payment::kNote);
            QWidget* days = findControl(change, bulk_payment::kNoteDays);
            typeText(days, "120");
            clickControl(change, bulk_payment::kOk);
        });
        clickControl(browser, existing_data::kBulkChange);
        EXPECT_EQ(columnTexts(view, 2), QStringList(4, "手形  120 日"));
        EXPECT_EQ(rowsOf("山田商事", kStorePaymentText), std::vector<std::string>(4, "120"));

        // With every row deleted the change starts from a note without days.
        answer = kResultYes;
        view->selectAll();
        clickControl(browser, existing_data::kDelete);
        EXPECT_EQ(view->model()->rowCount(), 0);
        onNextDialog([](QWidget* change) {
            EXPECT_TRUE(
                qobject_cast<QRadioButton*>(findControl(change, bulk_payment::kNote))->isChecked());
            EXPECT_EQ(
                qobject_cast<QLineEdit*>(findControl(change, bulk_payment::kNoteDays))->text(), "");
            clickControl(change, bulk_payment::kCancel);
        });
        clickControl(browser, existing_data::kBulkChange);
        clickControl(browser, existing_data::kOk);
    });
    EXPECT_EQ(editExistingData(nullptr), 1);
    EXPECT_TRUE(rowsOf("山田商事", kStorePaymentText).empty());
    EXPECT_EQ(rowsOf("鈴木工業", kStorePaymentText), std::vector<std::string>({sj("現金")}));
}

TEST_F(HistoryDialogsTest, TheBrowserKeepsItsStoredSizeAndNarrowColumnsAndIgnoresTheWheel) {
    settings().listDialog = ListDialogSettings{9, 870, 400, {500, 12, 90, 90, 150, 30}};
    selectedCounterparty() = sj("山田商事");
    {
        ExistingDataBrowser browser(nullptr, BrowserMode::Edit);
        browser.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&browser));
        EXPECT_EQ(browser.list()->horizontalHeader()->sectionSize(2), 12);
        // The wheel over the combo box without its focus chooses nothing.
        QWidget* combo = findControl(&browser, existing_data::kCounterparty);
        browser.list()->setFocus();
        QWheelEvent wheel(QPointF(5, 5), combo->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &wheel);
        EXPECT_EQ(selectedCounterparty(), sj("山田商事"));
        EXPECT_EQ(browser.list()->model()->rowCount(), 4);
    }
    const ListDialogSettings& stored = settings().listDialog;
    EXPECT_EQ(stored.width, 870);
    EXPECT_EQ(stored.height, 400);
    EXPECT_EQ(stored.columnWidths[1], 12);
    EXPECT_EQ(stored.columnWidths[0], 500);
    {
        ExistingDataBrowser browser(nullptr, BrowserMode::Edit);
        browser.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&browser));
        browser.resize(700, 300);
        QApplication::processEvents();
    }
    EXPECT_EQ(settings().listDialog.width, 700);
    EXPECT_EQ(settings().listDialog.height, 300);
}

TEST_F(HistoryDialogsTest, AnEditThatWouldOutgrowTheRowIsRefusedNotCut) {
    // A counterparty of 208 bytes: the row is 252 bytes long.
    const std::string name(208, 'K');
    const std::string row = name + sj("\t30\tボルト\t\t      10\t個\t  500.00\t本社工場\t\t1");
    orderStore().clear();
    orderStore().addRow(row);
    orderStore().buildLists();
    selectedCounterparty() = name;
    onNextDialog([this](QWidget* browser) {
        clickRow(listOf(browser), 0);
        onNextDialog([this](QWidget* editor) {
            auto* item = qobject_cast<QPlainTextEdit*>(findControl(editor, row_editor::kName));
            item->setFocus();
            item->selectAll();
            typeText(item, QString(38, QLatin1Char('0')));
            QTest::keyClick(item, Qt::Key_Return);
            typeText(item, QString(38, QLatin1Char('1')));
            clickControl(editor, row_editor::kOk);
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_TRUE(messages[0].text.startsWith("項目の内容が長すぎるため保存できません"));
            EXPECT_TRUE(editor->isVisible());
            clickControl(editor, row_editor::kCancel);
        });
        clickControl(browser, existing_data::kEdit);
        onNextDialog([this](QWidget* change) {
            clickControl(change, bulk_payment::kNote);
            typeText(findControl(change, bulk_payment::kNoteDays), "1234567");
            clickControl(change, bulk_payment::kOk);
            EXPECT_EQ(messages.size(), 2u);
            clickControl(change, bulk_payment::kCancel);
        });
        clickControl(browser, existing_data::kBulkChange);
        clickControl(browser, existing_data::kOk);
    });
    EXPECT_EQ(editExistingData(nullptr), 1);
    EXPECT_EQ(orderStore().line(0), row) << "the format index is still there";
}

}  // namespace
}  // namespace belvorine::test
