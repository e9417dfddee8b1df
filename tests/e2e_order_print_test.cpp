// The typical run, end to end, in the real windows: data entry, print to the
// PDF printer or the CUPS test queue, exit, start again.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "data/jis_codec.h"
#include "data/layout_model.h"
#include "data/order_file_format.h"
#include "data/order_record.h"
#include "data/order_store.h"
#include "data/settings_state.h"
#include "entry/data_entry_ids.h"
#include "entry/history_dialog_ids.h"
#include "history_dialog_support.h"
#include "main_window_fixture.h"
#include "platform/printers/print_jobs.h"
#include "platform/sjis_text.h"
#include "print/job_watch.h"
#include "print/print_confirm_dialog.h"
#include "shell/status_bar.h"
#include "widgets/commands.h"
#include "widgets/help.h"

using namespace belvorine;
using namespace belvorine::data_entry;

namespace {

using test::control;
using test::withModalDialog;

void typeInto(QWidget* dialog, int id, const QString& text) {
    QWidget* widget = control(dialog, id);
    widget->setFocus();
    test::typeText(widget, text);
}

// Picks the entry `text` of a drop-down list with the keyboard.
void chooseEntry(QWidget* dialog, int id, const QString& text) {
    auto* list = control<QComboBox>(dialog, id);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < list->count() && list->currentText() != text; ++i) {
        QTest::keyClick(list, Qt::Key_Down);
    }
    EXPECT_EQ(list->currentText(), text);
}

// Each test chooses its printers, then starts the program.
class TypicalRun : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        // What a new process starts with.
        currentOrder() = OrderRecord();
        orderEntered() = 0;
        pdf = folder.path() + "/order.pdf";
        setPdfFileChooserForTesting([this]() { return pdf; });
    }

    // Ctrl+D: a counterparty, a 30-day note, two lines (one of them "1 式").
    void enterOrder() {
        withModalDialog([this]() { window->command(kCmdDataEntry); },
                        [](QWidget* dialog) {
                            auto* counterparty = control<QComboBox>(dialog, kCounterparty);
                            counterparty->lineEdit()->selectAll();
                            typeInto(dialog, kCounterparty, "山田商事株式会社");
                            control<QRadioButton>(dialog, kNoteRadio)->click();
                            typeInto(dialog, kNoteDays, "30");
                            typeInto(dialog, kName1, "据付工事");
                            typeInto(dialog, kQuantity1, "1");
                            auto* unit = control<QComboBox>(dialog, kUnit1);
                            unit->setCurrentIndex(unit->findText("式"));
                            typeInto(dialog, kUnitPrice1, "250000");
                            typeInto(dialog, kName1 + 1, "六角ボルト M8");
                            typeInto(dialog, kQuantity1 + 1, "120");
                            typeInto(dialog, kUnitPrice1 + 1, "35.5");
                            control(dialog, kCounterparty)->setFocus();
                            control<QPushButton>(dialog, kOk)->click();
                        });
    }

    // Ctrl+P, answered with "印　刷".
    // Prints, or with `answer` print_confirm::kCancel stops at the confirmation.
    void print(int answer = print_confirm::kPrint) {
        withModalDialog(
            [this]() { window->command(kCmdPrint); },
            [answer](QWidget* dialog) { control<QPushButton>(dialog, answer)->click(); });
    }

    QString pdf;
};

std::string sjis(const char* utf8) {
    return toSjisLossy(QString::fromUtf8(utf8));
}

}  // namespace

TEST_F(TypicalRun, EnterPrintToPdfExitAndStartAgain) {
    usePrinters({pdfPrinter()});
    start();
    printerSettings(0).makeAcknowledgement = 1;
    enterOrder();
    EXPECT_EQ(fromSjisBuffer(currentOrder().counterparty), "山田商事株式会社");
    EXPECT_EQ(std::string(currentOrder().lines[0].amount), "       250000");
    EXPECT_EQ(std::string(currentOrder().lines[1].amount), "         4260");

    print();
    const QStringList pages = test::pdfPages(pdf);
    ASSERT_EQ(pages.size(), 3);
    EXPECT_TRUE(pages[0].contains("注文書"));
    EXPECT_FALSE(pages[0].contains("注文書控"));
    EXPECT_TRUE(pages[0].contains("山田商事株式会社御中"));
    EXPECT_TRUE(pages[0].contains("一式"));
    EXPECT_TRUE(pages[0].contains("250,000円"));
    EXPECT_TRUE(pages[0].contains("4,260円"));
    EXPECT_TRUE(pages[0].contains("○支払条件：当月末締翌月末起算30日手形"));
    EXPECT_TRUE(pages[1].contains("注文書控"));
    EXPECT_TRUE(pages[2].contains("注文請書"));

    window->close();
    window.reset();
    const std::string expected =
        sjis("注文書データファイル\r\n") +
        sjis("山田商事株式会社\t30\t据付工事\t\t       1\t式\t250000.00\t本社工場\t\t0\r\n") +
        sjis("山田商事株式会社\t30\t六角ボルト M8\t\t     120\t\t   35.50\t本社工場\t\t0\r\n");
    EXPECT_EQ(test::readFile(folder.file("ovd")), encodeJis(expected));
    EXPECT_EQ(test::readFile(folder.file("bak")), encodeJis(expected));
    EXPECT_FALSE(QFile::exists(folder.file("tmp")));

    start();
    withModalDialog([this]() { window->command(kCmdDataEntry); },
                    [](QWidget* dialog) {
                        auto* counterparty = control<QComboBox>(dialog, kCounterparty);
                        EXPECT_NE(counterparty->findText("山田商事株式会社"), -1);
                        auto* unit = control<QComboBox>(dialog, kUnit1);
                        EXPECT_NE(unit->findText("式"), -1);
                        control<QPushButton>(dialog, kCancel)->click();
                    });
}

TEST_F(TypicalRun, TheOneSheetFormatPrintsOrderAndCopyTogether) {
    usePrinters({pdfPrinter()});
    start();
    window->command(kCmdSwitchFormat);
    // A damaged record that also asks for the acknowledgement: there is no
    // sheet left for it.
    printerSettings(1).makeAcknowledgement = 1;
    enterOrder();
    print();
    const QStringList pages = test::pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains("注文書控"));
    EXPECT_EQ(pages[0].count("山田商事株式会社御中"), 2);
}

TEST_F(TypicalRun, AOneSheetFormatOnASmallLandscapePaperSaysSoInsteadOfPrintingAnOverlap) {
    usePrinters({pdfPrinter()});
    start();
    window->command(kCmdSwitchFormat);
    withModalDialog([this]() { window->command(kCmdPrintSetup); },
                    [](QWidget* dialog) {
                        chooseEntry(dialog, 1334, "A5");
                        control<QRadioButton>(dialog, 1339)->click();
                        auto* notice = dialog->findChild<QLabel*>("notice");
                        ASSERT_NE(notice, nullptr);
                        EXPECT_TRUE(notice->text().contains("用紙の半分に収まりません"));
                        control<QPushButton>(dialog, 1361)->click();
                    });
    enterOrder();
    withModalDialog([this]() { window->command(kCmdPrint); },
                    [this](QWidget* dialog) {
                        auto* notice = dialog->findChild<QLabel*>("notice");
                        ASSERT_NE(notice, nullptr);
                        EXPECT_FALSE(notice->isHidden());
                        // Order and copy together would overlap: refused, the
                        // dialog stays.
                        control<QPushButton>(dialog, 1399)->click();
                        EXPECT_TRUE(shown("用紙の半分に収まりません"));
                        EXPECT_TRUE(dialog->isVisible());
                        // The order alone fits the sheet.
                        control<QRadioButton>(dialog, 1394)->click();
                        control<QCheckBox>(dialog, 1395)->setChecked(true);
                        control<QCheckBox>(dialog, 1396)->setChecked(false);
                        control<QPushButton>(dialog, 1399)->click();
                    });
    const QStringList pages = test::pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_FALSE(pages[0].contains("注文書控"));
    EXPECT_EQ(pages[0].count("山田商事株式会社御中"), 1);
}

TEST_F(TypicalRun, ACancelledPrintOrAPrintWithoutDataEntryStoresNothing) {
    usePrinters({pdfPrinter()});
    start();
    const std::string workingBefore = test::readFile(folder.file("tmp"));
    copySjis(currentOrder().counterparty, sjis("山田商事株式会社"));
    copySjis(currentOrder().lines[0].nameLine1, sjis("据付工事"));
    EXPECT_EQ(std::string(longestCounterparty(0)), sjis("××　株式会社"));
    print();  // no data entry since start: printed, not stored
    EXPECT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(std::string(longestCounterparty(0)), sjis("山田商事株式会社"));
    EXPECT_EQ(orderStore().rowCount(), 0);
    EXPECT_EQ(test::readFile(folder.file("tmp")), workingBefore);

    enterOrder();
    copySjis(currentOrder().counterparty, sjis("山田商事株式会社　大阪支店"));
    withModalDialog([this]() { window->command(kCmdPrint); },
                    [](QWidget* dialog) { control<QPushButton>(dialog, 1400)->click(); });
    EXPECT_EQ(std::string(longestCounterparty(0)), sjis("山田商事株式会社"));
    EXPECT_EQ(orderStore().rowCount(), 0);
    EXPECT_EQ(test::readFile(folder.file("tmp")), workingBefore);
    EXPECT_TRUE(messages.empty());
}

// Waits, answering the window's events, until `done` holds or a minute has
// passed.
bool eventually(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 60000) {
        QTest::qWait(50);
    }
    return done();
}

TEST_F(TypicalRun, APrintToAQueueThatNeverAnswersSaysWhereItWentAndWhatBecameOfIt) {
    REQUIRE_TEST_QUEUE("BelvorineSilent");
    const PrinterEntry silent = test::installedQueue("BelvorineSilent");
    JobWatch::setPollIntervalForTesting(100);
    usePrinters({silent, pdfPrinter()});
    start();
    enterOrder();
    print();
    const StatusBar* status = window->statusBar();
    EXPECT_TRUE(status->partText(0).contains("「BelvorineSilent」"))
        << status->partText(0).toStdString();
    // Its printer never takes the job: the status bar says it waits.
    EXPECT_TRUE(eventually([&] {
        return status->partText(0).contains("印刷待ち") || status->partText(0).contains("印刷中");
    })) << status->partText(0).toStdString();

    // Cancelled in the printing system while the program runs: the user is
    // told, once.
    const int job = newestJob("BelvorineSilent", "BELVORINE");
    ASSERT_GT(job, 0);
    QProcess::execute("cancel", {QStringLiteral("BelvorineSilent-%1").arg(job)});
    EXPECT_TRUE(eventually([&] { return shown("取り消されました"); }));
    EXPECT_TRUE(status->partText(0).contains("取り消されました"));
    JobWatch::setPollIntervalForTesting(2000);
}

// A counterparty too long for its rows is cut once, before the print: the
// paper, every row of the order and the pick list hold the same name, and
// 既存データ finds it. (Each row used to cut it to its own room.)
TEST_F(TypicalRun, AnOverlongCounterpartyIsCutOnceForThePaperTheRowsAndThePickList) {
    usePrinters({pdfPrinter()});
    start();
    withModalDialog([this]() { window->command(kCmdDataEntry); },
                    [](QWidget* dialog) { control<QPushButton>(dialog, kCancel)->click(); });
    const QString name = QString("山田商事株式会社東京本社第一営業部").repeated(8).left(127);
    OrderRecord& order = currentOrder();
    copySjis(order.counterparty, sjis(name.toUtf8().constData()));
    copySjis(order.paymentText, "30");
    copySjis(order.lines[0].nameLine1, sjis("据付工事"));
    copySjis(order.lines[0].quantity, "       1");
    copySjis(order.lines[0].unitPrice, "250000.00");
    copySjis(order.lines[1].nameLine1, sjis("六角ボルト M8"));
    copySjis(order.lines[1].nameLine2, sjis("ステンレス製 長さ30mm"));
    copySjis(order.lines[1].quantity, "     120");
    copySjis(order.lines[1].unit, sjis("本"));
    copySjis(order.lines[1].unitPrice, "   35.50");
    print(print_confirm::kCancel);
    EXPECT_EQ(fromSjisBuffer(currentOrder().counterparty), name) << "cut by a cancelled print";
    print();

    const QString printed = fromSjisBuffer(currentOrder().counterparty);
    EXPECT_LT(printed.size(), name.size());
    EXPECT_TRUE(name.startsWith(printed));
    EXPECT_TRUE(test::pdfPages(pdf).value(0).contains(printed + "御中"));
    ASSERT_EQ(loadStore(), 1);
    ASSERT_EQ(orderStore().rowCount(), 2);
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(orderStore().field(row, kStoreCounterparty),
                  sjisView(currentOrder().counterparty));
    }
    ASSERT_EQ(orderStore().counterparties().size(), 1U);

    withModalDialog([this]() { window->command(kCmdDataEntry); },
                    [printed](QWidget* dialog) {
                        auto* counterparty = control<QComboBox>(dialog, kCounterparty);
                        EXPECT_EQ(counterparty->currentText(), printed);
                        EXPECT_EQ(counterparty->findText(printed), 0);
                        test::onNextDialog([](QWidget* browser) {
                            control<QPushButton>(browser, existing_data::kCancel)->click();
                        });
                        control<QPushButton>(dialog, kExistingData)->click();
                        control<QPushButton>(dialog, kCancel)->click();
                    });
    EXPECT_TRUE(messages.empty());
}

TEST_F(TypicalRun, PrintsToTheCupsTestQueue) {
    REQUIRE_TEST_QUEUE("BelvorineTest");
    const auto printers = installedPrinters();
    const int queue = test::installedQueueIndex("BelvorineTest");
    usePrinters(printers);
    start();
    printerSettings(0).printerIndex = queue;
    const QString output = "/tmp/belvorine-cups/BelvorineTest.out";
    const QDateTime before = QFileInfo(output).lastModified();
    enterOrder();
    print();
    EXPECT_TRUE(messages.empty()) << messages.front().text.toStdString();
    // The scheduler writes the job a moment later, replacing the last one.
    auto arrived = [&]() {
        const QFileInfo file(output);
        const std::string content = test::readFile(output);
        return file.lastModified() != before && content.find("%%EOF") != std::string::npos &&
               content.find("%%Title: (BELVORINE)") != std::string::npos;
    };
    for (int i = 0; i < 600 && !arrived(); ++i) {
        QTest::qWait(100);
    }
    EXPECT_TRUE(arrived());
    EXPECT_EQ(orderStore().rowCount(), 2);
}

namespace {

// Width and height of a PDF's first page in points (pdfinfo).
QSizeF pdfPageSize(const QString& file) {
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {file});
    process.waitForFinished(30000);
    static const QRegularExpression size(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)"));
    const auto match = size.match(QString::fromUtf8(process.readAllStandardOutput()));
    return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble())
                            : QSizeF();
}

}  // namespace

TEST_F(TypicalRun, ThePrintSetupPutsFormatOneOnA5LandscapeOfThePdfPrinter) {
    // Among whatever queues the system has, the PDF printer comes last.
    usePrinters(installedPrinters());
    start();
    withModalDialog([this]() { window->command(kCmdPrintSetup); },
                    [](QWidget* dialog) {
                        chooseEntry(dialog, 1331, "PDF");
                        chooseEntry(dialog, 1334, "A5");
                        control<QRadioButton>(dialog, 1339)->click();
                        control<QPushButton>(dialog, 1361)->click();
                    });
    EXPECT_TRUE(printerEntry(printerSettings(0).printerIndex).pdf);
    EXPECT_EQ(sjisView(printerSettings(0).paperName), "A5");
    EXPECT_EQ(printerSettings(0).orientation, 2);
    enterOrder();
    print();
    const QSizeF page = pdfPageSize(pdf);
    EXPECT_NEAR(page.width(), 595.3, 1.0);   // 210 mm
    EXPECT_NEAR(page.height(), 419.5, 1.0);  // 148 mm
    EXPECT_EQ(test::pdfPages(pdf).size(), 2);
    EXPECT_TRUE(messages.empty());
}

TEST_F(TypicalRun, ThePrintSetupSendsTheJobToTheCupsQueueFromTheChosenSource) {
    REQUIRE_TEST_QUEUE("BelvorineTest");
    const auto printers = installedPrinters();
    usePrinters(printers);
    start();
    withModalDialog([this]() { window->command(kCmdPrintSetup); },
                    [](QWidget* dialog) {
                        auto* list = control<QComboBox>(dialog, 1331);
                        EXPECT_EQ(list->itemText(list->count() - 1), "PDF");
                        chooseEntry(dialog, 1331, "BelvorineTest");
                        chooseEntry(dialog, 1336, "Manual Feed");
                        control<QPushButton>(dialog, 1361)->click();
                    });
    EXPECT_EQ(printerEntry(printerSettings(0).printerIndex).name, "BelvorineTest");
    EXPECT_EQ(printerSettings(0).paperSource, 4);
    EXPECT_EQ(sjisView(printerSettings(0).paperSourceName), "Manual Feed");
    const QString output = "/tmp/belvorine-cups/BelvorineTest.out";
    const QDateTime before = QFileInfo(output).lastModified();
    enterOrder();
    print();
    EXPECT_TRUE(messages.empty());
    // Other jobs go to the same file: wait for this one, from manual feed.
    auto arrived = [&]() {
        const std::string content = test::readFile(output);
        return QFileInfo(output).lastModified() != before &&
               content.find("%%EOF") != std::string::npos &&
               content.find("%%Title: (BELVORINE)") != std::string::npos &&
               content.find("/ManualFeed true") != std::string::npos;
    };
    for (int i = 0; i < 600 && !arrived(); ++i) {
        QTest::qWait(100);
    }
    EXPECT_TRUE(arrived());
}

TEST_F(TypicalRun, ThePageSetupRebuildsTheCaptionFromTheFormatName) {
    usePrinters({pdfPrinter()});
    start();
    withModalDialog([this]() { window->command(kCmdPageSetup); },
                    [](QWidget* dialog) {
                        auto* name = control<QLineEdit>(dialog, 1301);
                        name->setText("発注用");
                        control<QPushButton>(dialog, 1318)->click();
                    });
    EXPECT_EQ(window->windowTitle(), "ベルヴォリン --- 書式１");
    withModalDialog([this]() { window->command(kCmdPageSetup); },
                    [](QWidget* dialog) {
                        control<QLineEdit>(dialog, 1301)->clear();
                        control<QPushButton>(dialog, 1317)->click();
                    });
    EXPECT_EQ(window->windowTitle(), "ベルヴォリン --- ");
}

TEST_F(TypicalRun, APrintedPdfReadsBackAsTypedWordSpacesIncluded) {
    usePrinters({pdfPrinter()});
    start();
    // Bold (the telephone line) and regular (the item name) texts, each
    // with a word space.
    setCompanyProfileText(4, sjis("TEL (042)123-4567"));
    copySjis(currentOrder().counterparty, sjis("ACME Trading Co., Ltd."));
    copySjis(currentOrder().lines[0].nameLine1, sjis("Hex bolt M8"));
    print();
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_TRUE(text.contains("TEL (042)123-4567")) << text.toStdString();
    EXPECT_TRUE(text.contains("ACME Trading Co., Ltd.")) << text.toStdString();
    EXPECT_TRUE(text.contains("Hex bolt M8")) << text.toStdString();
}
