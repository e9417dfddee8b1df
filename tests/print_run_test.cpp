// The print run on the built-in PDF printer, read back with pdftotext.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include "data/factory_values.h"
#include "data/order_record.h"
#include "data/settings_file.h"
#include "data/settings_state.h"
#include "form/layout_preparation.h"
#include "platform/printers/printer_info.h"
#include "platform/screen_metrics.h"
#include "platform/sjis_text.h"
#include "print/device_geometry.h"
#include "print/print_confirm_dialog.h"
#include "print/print_run.h"
#include "print/printer_list.h"
#include "test_support.h"

using namespace belvorine;

namespace {

std::string sjis(const char* utf8) {
    return toSjisLossy(QString::fromUtf8(utf8));
}

// Where `word` stands on the first page, as a fraction of the page's height
// from the top (pdftotext -bbox); -1 when it is not there.
double wordHeightOnPage(const QString& pdf, const QString& word) {
    QProcess process;
    process.start("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf, "-"});
    process.waitForFinished();
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    const QRegularExpression page(R"re(<page width="[\d.]+" height="([\d.]+)")re");
    const QRegularExpression found(R"re(<word xMin="[\d.]+" yMin="([\d.]+)"[^>]*>)re" +
                                   QRegularExpression::escape(word) + "</word>");
    const auto pageMatch = page.match(html);
    const auto wordMatch = found.match(html);
    if (!pageMatch.hasMatch() || !wordMatch.hasMatch()) {
        return -1;
    }
    return wordMatch.captured(1).toDouble() / pageMatch.captured(1).toDouble();
}

class PrintRun : public ::testing::Test {
protected:
    void SetUp() override {
        screenMetrics() = ScreenMetrics{96, 96, 1920, 1080};
        usePrinters({pdfPrinter()});
        loadSettings();  // factory values: no files in the folder
        makeLiveCopies();
        resetLongestCounterparties();
        ASSERT_EQ(checkPrintersAtStartup(), 1);
        prepareAllLayouts();
        initialiseCurrentOrder();
        OrderRecord& order = currentOrder();
        copySjis(order.counterparty, sjis("山田商事株式会社"));
        copySjis(order.paymentText, "30");
        order.paymentKind = kPaymentNote;
        OrderLine& line = order.lines[0];
        copySjis(line.nameLine1, sjis("ボルト M8"));
        copySjis(line.quantity, "       1");
        copySjis(line.unit, sjis("式"));
        copySjis(line.unitPrice, " 1200.00");
        copySjis(line.amount, "         1200");
        pdf = folder.path() + "/order.pdf";
        options.choosePdfFile = [this]() { return pdf; };
    }

    int print(int order, int copy, int acknowledgement) {
        DocumentSelection selection;
        selection.pages[0] = order;
        selection.pages[1] = copy;
        selection.pages[2] = acknowledgement;
        return printDocuments(selection, options);
    }

    test::ProgramFolder folder;
    QString pdf;
    PrintJobOptions options;
};

}  // namespace

TEST_F(PrintRun, ThreeDocumentsAreThreePagesOfRealText) {
    printerSettings(0).makeAcknowledgement = 1;
    ASSERT_EQ(print(1, 1, 1), kPrintDone);
    const QStringList pages = test::pdfPages(pdf);
    ASSERT_EQ(pages.size(), 3);
    EXPECT_TRUE(pages[0].contains("注文書")) << pages[0].toStdString();
    EXPECT_FALSE(pages[0].contains("注文書控"));
    EXPECT_TRUE(pages[0].contains("山田商事株式会社御中"));
    EXPECT_TRUE(pages[0].contains("一式"));
    EXPECT_TRUE(pages[0].contains("1,200円"));
    EXPECT_TRUE(pages[0].contains("当月末締翌月末起算30日手形"));
    EXPECT_TRUE(pages[1].contains("注文書控"));
    EXPECT_FALSE(pages[2].contains("注文書"));
    EXPECT_TRUE(pages[2].contains("注文請書"));
    EXPECT_TRUE(pages[2].contains("×△◇株式会社御中"));
}

TEST_F(PrintRun, TheOneSheetFormatPrintsOrderAndCopyOnOnePage) {
    settings().initialData.formatIndex = 1;
    ASSERT_EQ(print(1, 1, 0), kPrintDone);
    const QStringList pages = test::pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1);
    const qsizetype order = pages[0].indexOf("注文書");
    const qsizetype copy = pages[0].indexOf("注文書控");
    EXPECT_GE(order, 0);
    EXPECT_GT(copy, order) << "the copy is below the order";
}

TEST_F(PrintRun, TheCopyAloneOfAOneSheetFormatStillPrintsInTheLowerHalf) {
    settings().initialData.formatIndex = 1;
    ASSERT_EQ(print(0, 1, 0), kPrintDone);
    const QStringList pages = test::pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains("注文書控"));
    // The copy's title, the last character of its spread title.
    EXPECT_GT(wordHeightOnPage(pdf, "控"), 0.5);
}

TEST_F(PrintRun, PartialPrintingOfTheAcknowledgementOnly) {
    ASSERT_EQ(print(0, 0, 1), kPrintDone);
    const QStringList pages = test::pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains("注文請書"));
}

TEST_F(PrintRun, NotChoosingAPdfFileCancelsAndWritesNothing) {
    options.choosePdfFile = []() { return QString(); };
    EXPECT_EQ(print(1, 1, 0), kPrintCancelled);
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(PrintRun, TheScaleKeepsThePagesProportions) {
    EXPECT_EQ(printScale(600, 96), 625);
    EXPECT_EQ(printScale(300, 96), 312);
    EXPECT_EQ(printScale(600, 0), 625);
}

TEST(PrintConfirmSummary, SaysWhatTheSettingsPrint) {
    EXPECT_EQ(PrintConfirmDialog::summaryText(1, 0),
              "「 注文書 」 と 「 注文書控 」を １枚 で印刷");
    EXPECT_EQ(PrintConfirmDialog::summaryText(0, 1),
              "｢注文書｣ ｢注文書控｣ ｢注文請書｣を 各１枚(計３枚) で印刷");
    EXPECT_EQ(PrintConfirmDialog::summaryText(0, 0),
              "｢注文書｣ ｢注文書控｣ を 各１枚(計２枚) で印刷");
}
