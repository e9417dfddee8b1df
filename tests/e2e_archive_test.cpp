// Record keeping as a user goes through it, in the real windows: the archive
// turned on for paper prints too, three orders printed to PDF and one on the
// CUPS test queue, the documents found by amount range and supplier, one
// opened, one voided with a reason, the results exported as CSV in both
// encodings; and the existing data browser's list exported as CSV.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QUrl>

#include "archive/archive_settings.h"
#include "archive/csv_export.h"
#include "archive_search/archive_search_dialog.h"
#include "archive_search/archive_search_ids.h"
#include "archive_search/register_rows_model.h"
#include "data/order_record.h"
#include "data/order_store.h"
#include "data/settings_state.h"
#include "entry/existing_data_browser.h"
#include "entry/history_dialog_ids.h"
#include "main_window_fixture.h"
#include "platform/sjis_text.h"
#include "widgets/commands.h"
#include "widgets/csv_save.h"
#include "widgets/help.h"

using namespace belvorine;

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// Takes the file URLs that the search dialog hands to the desktop's viewer.
class ViewerStandIn : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

namespace {

using test::control;
using test::withModalDialog;

std::string sjis(const char* utf8) {
    return toSjisLossy(QString::fromUtf8(utf8));
}

// An order of one line worth `total` yen, dated 2024-01-31.
void setOrder(const char* counterparty, const char* total, const char* approval = "") {
    OrderRecord& order = currentOrder();
    order = OrderRecord();
    initialiseOrderLines(order.lines, kOrderLineCount);
    copySjis(order.year, "2024");
    copySjis(order.month, "1");
    copySjis(order.day, "31");
    copySjis(order.counterparty, sjis(counterparty));
    copySjis(order.paymentText, "30");
    copySjis(order.approvalNo, approval);
    copySjis(order.lines[0].nameLine1, sjis("据付工事"));
    copySjis(order.lines[0].quantity, "       1");
    copySjis(order.lines[0].unit, sjis("式"));
    copySjis(order.lines[0].unitPrice, total);
    copySjis(order.lines[0].amount, total);
    orderEntered() = 1;
}

QString decodeCp932(const QByteArray& bytes) {
    return fromSjis(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

class RecordKeeping : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        currentOrder() = OrderRecord();
        orderEntered() = 0;
        setPdfFileChooserForTesting([this]() { return nextPdf; });
    }
    void TearDown() override {
        setCsvTargetChooserForTesting(nullptr);
        MainWindowFixture::TearDown();
    }

    // Ctrl+P, answered with "印　刷".
    void print() {
        withModalDialog([this]() { window->command(kCmdPrint); },
                        [](QWidget* dialog) { control<QPushButton>(dialog, 1399)->click(); });
    }

    QString archive() const { return folder.path() + "/電子取引"; }

    QString nextPdf;
};

TEST_F(RecordKeeping, PrintFindOpenVoidAndExport) {
    REQUIRE_TEST_QUEUE("BelvorineTest");
    std::vector<PrinterEntry> printers = installedPrinters();
    const int paperPrinter = test::installedQueueIndex("BelvorineTest");
    const int pdfPrinter = static_cast<int>(printers.size()) - 1;
    usePrinters(printers);
    start();

    // The factory state keeps PDF prints only; the user adds paper prints.
    EXPECT_TRUE(archiveSettings().archivePdfPrints);
    EXPECT_FALSE(archiveSettings().archivePaperPrints);
    withModalDialog([this]() { window->command(kCmdArchiveSettings); },
                    [](QWidget* dialog) {
                        control<QCheckBox>(dialog, archive_options::kPaperPrints)->click();
                        control<QPushButton>(dialog, archive_options::kOk)->click();
                    });
    EXPECT_NE(test::readFile(folder.file("arc")).find("paperPrints=1"), std::string::npos);

    // Three orders to PDF, one on paper.
    printerSettings(0).printerIndex = pdfPrinter;
    printerSettings(0).makeAcknowledgement = 1;
    const char* const pdfOrders[][2] = {
        {"山田商事株式会社", "110000"}, {"株式会社鈴木工業", "52000"}, {"ﾔﾏﾀﾞ電機(株)", "300000"}};
    for (int i = 0; i < 3; ++i) {
        nextPdf = folder.path() + QString("/order%1.pdf").arg(i);
        setOrder(pdfOrders[i][0], pdfOrders[i][1], i == 0 ? "A-17" : "");
        print();
    }
    printerSettings(0).printerIndex = paperPrinter;
    printerSettings(0).makeAcknowledgement = 0;
    setOrder("（株）山田商事", "88000");
    print();
    EXPECT_TRUE(messages.empty()) << messages.front().text.toStdString();
    EXPECT_EQ(orderStore().rowCount(), 4);  // the history as without the archive

    const QString first = archive() + "/20240131_山田商事株式会社_110000.pdf";
    const QString paper = archive() + "/20240131_（株）山田商事_88000.pdf";
    EXPECT_EQ(QDir(archive()).entryList({"*.pdf"}, QDir::Files).size(), 4);
    // A PDF print is kept as the very file issued; a paper print as the
    // pages printed, drawn again.
    EXPECT_EQ(test::readFile(first), test::readFile(folder.path() + "/order0.pdf"));
    EXPECT_EQ(test::pdfPages(first).size(), 3);
    const QStringList paperPages = test::pdfPages(paper);
    ASSERT_EQ(paperPages.size(), 2);
    EXPECT_TRUE(paperPages[0].contains("（株）山田商事御中"));
    EXPECT_TRUE(paperPages[0].contains("88,000円"));
    EXPECT_TRUE(paperPages[1].contains("注文書控"));

    // Found by amount range and supplier, opened, voided with a reason,
    // exported in both encodings, verified.
    ViewerStandIn viewer;
    QDesktopServices::setUrlHandler("file", &viewer, "open");
    const QString sjisCsv = folder.path() + "/検索結果.csv";
    const QString utf8Csv = folder.path() + "/検索結果-utf8.csv";
    withModalDialog(
        [this]() { window->command(kCmdArchiveSearch); },
        [&](QWidget* dialog) {
            using namespace archive_search;
            auto* search = static_cast<ArchiveSearchDialog*>(dialog);
            EXPECT_EQ(search->rows()->rowCount(), 4);
            control<QLineEdit>(dialog, kAmountFrom)->setText("80000");
            control<QLineEdit>(dialog, kAmountTo)->setText("150000");
            auto* counterparty = control<QLineEdit>(dialog, kCounterparty);
            counterparty->setFocus();
            test::typeText(counterparty, "山田商事");
            control<QPushButton>(dialog, kSearch)->click();
            RegisterRowsModel* rows = search->rows();
            ASSERT_EQ(rows->rowCount(), 2);
            EXPECT_EQ(rows->row(0).entry.total, 110000);  // same date: in order of issue
            EXPECT_EQ(rows->row(0).entry.approvalNo, "A-17");
            EXPECT_EQ(rows->row(1).entry.total, 88000);
            EXPECT_EQ(control<QLabel>(dialog, kSummary)->text(), "該当 2 件　合計 ￥198,000");

            search->list()->selectRow(0);
            control<QPushButton>(dialog, kOpen)->click();
            ASSERT_EQ(viewer.opened.size(), 1);
            EXPECT_EQ(viewer.opened[0].toLocalFile(), first);

            search->list()->selectRow(1);
            withModalDialog([&]() { control<QPushButton>(dialog, kVoid)->click(); },
                            [](QWidget* reasonDialog) {
                                auto* reason =
                                    control<QLineEdit>(reasonDialog, void_reason::kReason);
                                reason->setFocus();
                                test::typeText(reason, "金額の誤り");
                                control<QPushButton>(reasonDialog, void_reason::kOk)->click();
                            });
            EXPECT_EQ(control<QLabel>(dialog, kSummary)->text(),
                      "該当 2 件（うち取消 1 件）　合計 ￥110,000（取消分を除く）");
            EXPECT_FALSE(control<QPushButton>(dialog, kVoid)->isEnabled());

            for (const CsvTarget& target : {CsvTarget{sjisCsv, CsvEncoding::kShiftJis},
                                            CsvTarget{utf8Csv, CsvEncoding::kUtf8Bom}}) {
                setCsvTargetChooserForTesting([target]() { return target; });
                control<QPushButton>(dialog, kExport)->click();
            }
            messages.clear();
            control<QPushButton>(dialog, kVerify)->click();
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_TRUE(messages[0].text.contains("記録 5 件、ファイル 4 件"))
                << messages[0].text.toStdString();
            EXPECT_TRUE(messages[0].text.contains("異常はありません"));
            control<QPushButton>(dialog, kClose)->click();
        });
    QDesktopServices::unsetUrlHandler("file");

    const QByteArray sjisBytes = QByteArray::fromStdString(test::readFile(sjisCsv));
    const QByteArray utf8Bytes = QByteArray::fromStdString(test::readFile(utf8Csv));
    ASSERT_TRUE(utf8Bytes.startsWith("\xEF\xBB\xBF"));
    const QString text = QString::fromUtf8(utf8Bytes.mid(3));
    EXPECT_EQ(decodeCp932(sjisBytes), text);
    const QStringList lines = text.split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("取引年月日,取引先,取引金額,書式,決裁No.,頁数,ファイル名"));
    EXPECT_TRUE(lines[1].startsWith("2024/01/31,山田商事株式会社,110000,"));
    EXPECT_TRUE(lines[1].contains(",有効,"));
    EXPECT_TRUE(lines[2].startsWith("2024/01/31,（株）山田商事,88000,"));
    EXPECT_TRUE(lines[2].contains(",取消,"));
    EXPECT_TRUE(lines[2].contains(",金額の誤り,"));
}

TEST_F(RecordKeeping, TheBrowserExportsItsListAsShown) {
    usePrinters({pdfPrinter()});
    start();
    nextPdf = folder.path() + "/order.pdf";
    setOrder("山田商事株式会社", "110000");
    copySjis(currentOrder().lines[1].nameLine1, sjis("六角ボルト M8"));
    copySjis(currentOrder().lines[1].quantity, "     120");
    copySjis(currentOrder().lines[1].unitPrice, "   35.50");
    copySjis(currentOrder().lines[1].amount, "4260");
    print();
    selectedCounterparty() = sjis("山田商事株式会社");
    resetListSortForTesting();
    const QString csv = folder.path() + "/既存データ.csv";
    setCsvTargetChooserForTesting([csv]() { return CsvTarget{csv, CsvEncoding::kShiftJis}; });
    withModalDialog([this]() { window->command(kCmdExistingData); },
                    [](QWidget* dialog) {
                        auto* browser = static_cast<ExistingDataBrowser*>(dialog);
                        // Name descending: the order the list shows is the order exported.
                        browser->list()->horizontalHeader()->sectionClicked(1);
                        control<QPushButton>(dialog, existing_data::kExport)->click();
                        control<QPushButton>(dialog, existing_data::kCancel)->click();
                    });
    EXPECT_EQ(decodeCp932(QByteArray::fromStdString(test::readFile(csv))),
              "相手先,品 名,支払条件,数 量,単 価,納品場所,書式名\r\n"
              "山田商事株式会社,六角ボルト M8,手形   30 日,120,35.50,,書式１\r\n"
              "山田商事株式会社,据付工事,手形   30 日,1式,110000.00,,書式１\r\n");
}

}  // namespace

#include "e2e_archive_test.moc"
