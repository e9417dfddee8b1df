// Ctrl+H from the main window: the existing data browser in edit mode on
// the history of the program folder, and what reaches the working file
// after OK, after cancel and after the next print.

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "data/order_file_format.h"
#include "data/order_files.h"
#include "data/order_record.h"
#include "data/order_store.h"
#include "entry/existing_data_browser.h"
#include "entry/history_dialog_ids.h"
#include "history_dialog_support.h"
#include "main_window_fixture.h"
#include "platform/safe_file.h"
#include "platform/sjis_text.h"
#include "widgets/commands.h"

namespace belvorine::test {
namespace {

std::string sj(const char* utf8) {
    return toSjisLossy(QString::fromUtf8(utf8));
}

const char* const kRows[] = {
    "山田商事\t30\tナット\tM8\t     200\t個\t    5.00\t第二工場\t\t0",
    "山田商事\t30\tボルト\t\t      10\t個\t  500.00\t本社工場\t\t0",
    "山田商事\t現金\tワッシャー\t\t      50\t袋\t    2.00\t本社工場\t\t1",
};

class HistoryEditingTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        std::vector<std::string> rows;
        for (const char* row : kRows) {
            rows.push_back(sj(row));
        }
        writeFile(folder.file("ovd"),
                  buildHistoryFile(std::vector<std::string_view>(rows.begin(), rows.end())));
        start();
        selectedCounterparty() = sj("山田商事");
        resetListSortForTesting();
    }
    void TearDown() override {
        MainWindowFixture::TearDown();
        selectedCounterparty().clear();
    }

    // The decoded rows of the working file.
    std::vector<std::string> workingRows() {
        std::string file;
        std::string decoded;
        readWholeFile(workingFilePath(), file);
        decodeHistory(file, decoded);
        std::vector<std::string> rows;
        for (const std::string_view row : historyRows(decoded)) {
            rows.emplace_back(row);
        }
        return rows;
    }

    bool holdsName(const char* name) {
        for (const std::string& row : workingRows()) {
            if (rowField(row, kStoreNameLine1) == sj(name)) {
                return true;
            }
        }
        return false;
    }

    // An order entered through data entry (OK), not printed.
    void enterOrder(const char* counterparty, const char* name) {
        OrderRecord& order = currentOrder();
        copySjis(order.counterparty, sj(counterparty));
        copySjis(order.paymentText, sj("現金"));
        OrderLine& line = order.lines[0];
        copySjis(line.nameLine1, sj(name));
        copySjis(line.name, sj(name));
        copySjis(line.quantity, "       3");
        copySjis(line.unitPrice, "  100.00");
    }

    void printToPdf() {
        setPdfFileChooserForTesting([this] { return pdfDir.filePath("order.pdf"); });
        onNextDialog([](QWidget* confirm) { clickControl(confirm, 1399); });
        window->command(kCmdPrint);
    }

    QTemporaryDir pdfDir;
};

TEST_F(HistoryEditingTest, DeletedRowsAreBackAfterCancelAndTheNextPrintKeepsThem) {
    onNextDialog([](QWidget* browser) {
        EXPECT_EQ(browser->windowTitle(), "既存データの編集");
        QTableView* view = qobject_cast<QTableView*>(findControl(browser, existing_data::kList));
        ASSERT_EQ(view->model()->rowCount(), 3);
        EXPECT_FALSE(findControl(browser, existing_data::kDelete)->isEnabled());
        clickRow(view, 0);
        clickRow(view, 1, Qt::ControlModifier);
        clickControl(browser, existing_data::kDelete);
        EXPECT_EQ(view->model()->rowCount(), 1);
        clickControl(browser, existing_data::kCancel);
    });
    window->command(kCmdExistingData);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "削除してよろしいですか？");

    enterOrder("鈴木工業", "スパナ");
    printToPdf();
    EXPECT_TRUE(holdsName("ナット"));
    EXPECT_TRUE(holdsName("ボルト"));
    EXPECT_TRUE(holdsName("ワッシャー"));
    EXPECT_TRUE(holdsName("スパナ"));
    // The browser reopens on its counterparty until the format changes.
    EXPECT_EQ(selectedCounterparty(), sj("山田商事"));
    window->command(kCmdSwitchFormat);
    EXPECT_TRUE(selectedCounterparty().empty());
}

TEST_F(HistoryEditingTest, CtrlHAndOkWriteTheEditedRowButNotTheUnprintedOrder) {
    enterOrder("山田商事", "未印刷の品");
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    onNextDialog([](QWidget* browser) {
        QTableView* view = qobject_cast<QTableView*>(findControl(browser, existing_data::kList));
        clickRow(view, 1);  // ボルト
        onNextDialog([](QWidget* editor) {
            EXPECT_EQ(editor->windowTitle(), "項目の編集");
            auto* name = qobject_cast<QPlainTextEdit*>(findControl(editor, row_editor::kName));
            EXPECT_EQ(name->toPlainText(), "ボルト\n");
            name->setFocus();
            name->selectAll();
            QTest::keyClick(name, Qt::Key_Delete);
            // Composed through the input method: pre-edit, then commit.
            QInputMethodEvent preedit(QStringLiteral("ろっかく"), {});
            QApplication::sendEvent(name, &preedit);
            QInputMethodEvent commit;
            commit.setCommitString(QStringLiteral("六角ボルト"));
            QApplication::sendEvent(name, &commit);
            auto* quantity = qobject_cast<QLineEdit*>(findControl(editor, row_editor::kQuantity));
            quantity->setFocus();
            quantity->selectAll();
            typeText(quantity, "12\t");
            EXPECT_EQ(quantity->text(), "      12");
            auto* price = qobject_cast<QLineEdit*>(findControl(editor, row_editor::kUnitPrice));
            price->setFocus();
            EXPECT_EQ(price->text(), "500") << "shown as typed while it is edited";
            price->selectAll();
            typeText(price, "1500");
            clickControl(editor, row_editor::kOk);
        });
        clickControl(browser, existing_data::kEdit);
        clickControl(browser, existing_data::kOk);
    });
    QTest::keyClick(window.get(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_FALSE(holdsName("未印刷の品"));
    EXPECT_FALSE(holdsName("ボルト"));
    EXPECT_TRUE(holdsName("ナット"));
    std::string edited;
    for (const std::string& row : workingRows()) {
        if (rowField(row, kStoreNameLine1) == sj("六角ボルト")) {
            edited = row;
        }
    }
    EXPECT_EQ(edited, sj("山田商事\t30\t六角ボルト\t\t      12\t個\t 1500.00\t本社工場\t\t0"));
}

}  // namespace
}  // namespace belvorine::test
