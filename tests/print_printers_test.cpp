// Printers and page geometry: the printer list with its built-in PDF
// printer, the device mode applied to a printer, the 14 geometry values and
// the margin limits, and the CUPS path on a real scheduler's test queue.

#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "data/settings_state.h"
#include "form/page_geometry.h"
#include "platform/painter_device_context.h"
#include "platform/printers/device_mode.h"
#include "platform/printers/paper_lists.h"
#include "platform/printers/printer_info.h"
#include "platform/sjis_text.h"
#include "print/device_geometry.h"
#include "print/printer_list.h"
#include "test_support.h"
#include "widgets/message_box.h"

namespace belvorine {
namespace {

constexpr char kTestQueue[] = "BelvorineTest";
constexpr char kTestQueueOutput[] = "/tmp/belvorine-cups/BelvorineTest.out";

DeviceMode a4Portrait() {
    DeviceMode mode;
    mode.paperCode = 9;
    mode.formName = QStringLiteral("A4");
    return mode;
}

const PaperEntry* findPaper(const std::vector<PaperEntry>& papers, int code) {
    for (const PaperEntry& paper : papers) {
        if (paper.code == code) {
            return &paper;
        }
    }
    return nullptr;
}

// 600 dpi A4 with 94 pixels unprintable on the left and top, 100 on the
// right and bottom.
DeviceCaps sampleCaps() {
    DeviceCaps caps;
    caps.resolutionX = 600;
    caps.resolutionY = 600;
    caps.paperWidth = 4960;
    caps.paperHeight = 7016;
    caps.offsetX = 94;
    caps.offsetY = 94;
    caps.printableWidth = 4960 - 94 - 100;
    caps.printableHeight = 7016 - 94 - 100;
    return caps;
}

TEST(PrinterDiscovery, PdfPrinterComesLast) {
    const std::vector<PrinterEntry> printers = installedPrinters();
    ASSERT_FALSE(printers.empty());
    EXPECT_TRUE(printers.back().pdf);
    EXPECT_EQ(printers.back().name, QStringLiteral("PDF"));
    ASSERT_TRUE(discoverPrinters());
    EXPECT_EQ(printerCount(), static_cast<int>(printers.size()));
}

// A scheduler that takes the connection and never answers (a print server
// that hangs) must not hang the start-up: after a bounded wait the program
// goes on with its own PDF printer.
TEST(PrinterDiscovery, ASchedulerThatNeverAnswersLeavesThePdfPrinter) {
    test::UnansweringScheduler scheduler;
    ASSERT_TRUE(scheduler.listening());
    startPrinterDiscovery();
    EXPECT_TRUE(finishPrinterDiscovery());
    EXPECT_TRUE(printerListTimedOut());
    ASSERT_EQ(printerCount(), 1);
    EXPECT_TRUE(printerEntry(0).pdf);
    // The PDF printer is still checked and printed without the scheduler.
    DeviceCaps caps;
    EXPECT_TRUE(queryDeviceCaps(printerEntry(0), a4Portrait(), caps));
}

TEST(PrinterDiscovery, NoPrinterIsErrorTen) {
    std::vector<MessageRequest> shown;
    setMessageHandlerForTesting([&](const MessageRequest& request) {
        shown.push_back(request);
        return kResultOk;
    });
    EXPECT_EQ(usePrinters({}), 0);
    setMessageHandlerForTesting(nullptr);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, QStringLiteral("Ｅｒｒｏｒ"));
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("ERROR No.0010")));
    EXPECT_EQ(shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(printerEntry(0).name, QString());  // an empty list gives an empty entry
}

TEST(PrinterDiscovery, RemovedPrinterFallsBackToTheFirst) {
    usePrinters({pdfPrinter(), pdfPrinter()});
    PageSettings settings;
    settings.printerIndex = 1;
    EXPECT_EQ(correctPrinterIndex(settings), 0);
    settings.printerIndex = 2;
    EXPECT_EQ(correctPrinterIndex(settings), 1);
    EXPECT_EQ(settings.printerIndex, 0);
    settings.printerIndex = -3;
    EXPECT_EQ(correctPrinterIndex(settings), 1);
    EXPECT_EQ(settings.printerIndex, 0);
}

TEST(PdfPrinter, A4At600DotsWithoutBorder) {
    DeviceCaps caps;
    ASSERT_TRUE(queryDeviceCaps(pdfPrinter(), a4Portrait(), caps));
    EXPECT_EQ(caps.resolutionX, 600);
    EXPECT_EQ(caps.resolutionY, 600);
    // 210 x 297 mm, which Qt keeps as 595 x 842 points.
    EXPECT_NEAR(caps.paperWidth, 4961, 4);
    EXPECT_NEAR(caps.paperHeight, 7016, 4);
    EXPECT_EQ(caps.offsetX, 0);
    EXPECT_EQ(caps.offsetY, 0);
    EXPECT_EQ(caps.printableWidth, caps.paperWidth);
    EXPECT_EQ(caps.printableHeight, caps.paperHeight);

    DeviceMode landscape = a4Portrait();
    landscape.orientation = 2;
    DeviceCaps turned;
    ASSERT_TRUE(queryDeviceCaps(pdfPrinter(), landscape, turned));
    EXPECT_EQ(turned.paperWidth, caps.paperHeight);
    EXPECT_EQ(turned.paperHeight, caps.paperWidth);
}

TEST(PdfPrinter, PapersByClassicCodeOrByName) {
    const std::vector<PaperEntry> papers = paperList(pdfPrinter());
    for (int code : {8, 9, 11, 13, 1}) {
        EXPECT_NE(findPaper(papers, code), nullptr) << code;
    }
    EXPECT_EQ(findPaper(papers, 9)->name, QStringLiteral("A4"));

    // An unknown code finds the paper by its name, with or without a size
    // in parentheses.
    DeviceMode byName;
    byName.paperCode = 0;
    byName.formName = QStringLiteral("A5 (148 x 210 mm)");
    DeviceCaps caps;
    ASSERT_TRUE(queryDeviceCaps(pdfPrinter(), byName, caps));
    EXPECT_NEAR(caps.paperWidth, 3496, 4);  // 148 mm

    const std::vector<SourceEntry> sources = sourceList(pdfPrinter());
    ASSERT_EQ(sources.size(), 1u);
    EXPECT_EQ(sources[0].code, 7);
    EXPECT_EQ(sources[0].name, QStringLiteral("自動"));
}

TEST(PdfPrinter, TextStaysSelectable) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("page.pdf"));
    QPdfWriter writer(file);
    setUpPdfWriter(writer, a4Portrait());
    {
        PainterDeviceContext dc(&writer);
        ASSERT_TRUE(dc.isActive());
        LogFont font;
        font.height = -200;
        copySjis(font.faceName, toSjisLossy(QStringLiteral("ＭＳ 明朝")));
        dc.selectFont(font);
        const std::string spaced = toSjisLossy(QStringLiteral("注 文 書"));
        dc.setTextJustification(2000 - dc.textExtent(spaced).width(), 2);
        dc.drawText(QRect(500, 500, 2000, 400), spaced, TextAlign::Left);
    }
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(30000)) {
        GTEST_SKIP() << "pdftotext is not installed (poppler-utils)";
    }
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("注"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("書"))) << text.toStdString();
}

// The PDF printer's page is computed rather than asked of a QPrinter; it
// must stay the page that Qt's own PDF printer set up the same way has, so
// that stored margins land where they always did.
TEST(PdfPrinter, ComputedPageIsQtsPdfPrinterPage) {
    for (const PaperEntry& paper : paperList(pdfPrinter())) {
        for (int orientation : {1, 2}) {
            DeviceMode mode;
            mode.paperCode = paper.code;
            mode.orientation = orientation;
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setResolution(kPdfResolution);
            printer.setPageSize(QPageSize(QPageSize::id(paper.code)));
            printer.setPageOrientation(orientation == 2 ? QPageLayout::Landscape
                                                        : QPageLayout::Portrait);
            printer.setFullPage(false);
            printer.setPageMargins(printer.pageLayout().minimumMargins(),
                                   printer.pageLayout().units());
            DeviceCaps expected;
            DeviceCaps computed;
            ASSERT_TRUE(readDeviceCaps(printer.pageLayout(), printer.resolution(), expected));
            ASSERT_TRUE(queryDeviceCaps(pdfPrinter(), mode, computed));
            const auto fields = [](const DeviceCaps& c) {
                return std::vector<int>{c.resolutionX,     c.resolutionY, c.printableWidth,
                                        c.printableHeight, c.paperWidth,  c.paperHeight,
                                        c.offsetX,         c.offsetY};
            };
            EXPECT_EQ(fields(computed), fields(expected)) << paper.name.toStdString();
        }
    }
}

TEST(PageGeometryFill, MarginBoxInHundredthsOfAPixel) {
    PageSettings settings;
    settings.marginLeft = {0, 2000, 5000};
    settings.marginTop = {0, 2000, 5000};
    settings.marginRight = {0, 1000, 5000};
    settings.marginBottom = {0, 1000, 5000};
    PageGeometry geometry;
    fillGeometry(sampleCaps(), settings, geometry);
    EXPECT_EQ(geometry.marginBoxLeft, 37844);  // 47244 - 9400
    EXPECT_EQ(geometry.marginBoxTop, 37844);
    EXPECT_EQ(geometry.unprintableRight, 100);
    EXPECT_EQ(geometry.unprintableBottom, 100);
    // (100 + 4766) x 100 - 600 x 1000 x 100 / 2540
    EXPECT_EQ(geometry.marginBoxRight, 486600 - 23622);
    EXPECT_EQ(geometry.marginBoxBottom, (100 + 6822) * 100 - 23622);
    EXPECT_EQ(geometry.paperWidth, 4960);
    EXPECT_EQ(geometry.offsetX, 94);
}

TEST(PageGeometryFill, MarginsAreClampedIntoTheirLimits) {
    PageSettings settings;
    settings.marginLeft = {423, 100, 6999};
    settings.marginRight = {423, 9000, 6999};
    settings.marginTop = {5000, 4000, 3000};  // the maximum wins
    settings.marginBottom = {0, 1234, 5000};
    PageGeometry geometry;
    fillGeometry(sampleCaps(), settings, geometry);
    EXPECT_EQ(settings.marginLeft.value, 423);
    EXPECT_EQ(settings.marginRight.value, 6999);
    EXPECT_EQ(settings.marginTop.value, 3000);
    EXPECT_EQ(settings.marginBottom.value, 1234);
}

TEST(PageGeometryFill, LimitsFollowThePaper) {
    PageSettings settings;
    setMarginLimits(sampleCaps(), settings);
    EXPECT_EQ(settings.marginLeft.minimum, 397);  // 94 x 2540 / 600
    EXPECT_EQ(settings.marginRight.minimum, 423);
    EXPECT_EQ(settings.marginLeft.maximum, 6999);  // a third of 209.97 mm
    EXPECT_EQ(settings.marginTop.maximum, 9900);   // a third of 297.01 mm
    EXPECT_EQ(settings.marginBottom.maximum, 9900);

    DeviceCaps none;
    PageSettings untouched;
    untouched.marginLeft = {1, 2, 3};
    setMarginLimits(none, untouched);
    EXPECT_EQ(untouched.marginLeft.minimum, 1);
}

class PrinterCheck : public ::testing::Test {
protected:
    void SetUp() override {
        resetSettingsStateForTesting();
        for (int format = 0; format < kFormatCount; ++format) {
            PageSettings& settings = printerSettings(format);
            settings.paperSize = 9;
            copySjis(settings.paperName, "A4");
            settings.orientation = 1;
            settings.paperSource = 7;
            settings.marginLeft = {0, 500, 5000};
            settings.marginRight = {0, 500, 5000};
            settings.marginTop = {0, 500, 5000};
            settings.marginBottom = {0, 500, 5000};
            printerGeometry(format) = PageGeometry();
        }
    }
    void TearDown() override { resetSettingsStateForTesting(); }
};

TEST_F(PrinterCheck, BothFormatsAtStartUp) {
    usePrinters({pdfPrinter()});
    printerSettings(1).orientation = 2;
    ASSERT_TRUE(checkPrintersAtStartup());
    EXPECT_EQ(printerGeometry(0).resolutionX, 600);
    EXPECT_GT(printerGeometry(1).paperWidth, printerGeometry(1).paperHeight);
    // A PDF page has no unprintable border.
    EXPECT_EQ(printerSettings(0).marginLeft.minimum, 0);
    // A third of the paper's width: 210 mm, 297 mm in landscape.
    EXPECT_NEAR(printerSettings(0).marginLeft.maximum, 7000, 5);
    EXPECT_NEAR(printerSettings(1).marginLeft.maximum, 9900, 5);
    EXPECT_EQ(printerGeometry(0).marginBoxLeft, 600 * 500 * 100 / 2540);
}

TEST_F(PrinterCheck, MarginBeyondTheNewLimitIsLowered) {
    usePrinters({pdfPrinter()});
    printerSettings(0).marginLeft = {0, 9000, 20000};
    ASSERT_TRUE(refreshPrinterMetrics(printerSettings(0), 0));
    EXPECT_EQ(printerSettings(0).marginLeft.value, printerSettings(0).marginLeft.maximum);
    EXPECT_LT(printerSettings(0).marginLeft.value, 9000);
}

TEST_F(PrinterCheck, RemovedPrinterIsReplacedByTheFirst) {
    usePrinters({pdfPrinter()});
    printerSettings(0).printerIndex = 4;
    ASSERT_TRUE(refreshPrinterMetrics(printerSettings(0), 0));
    EXPECT_EQ(printerSettings(0).printerIndex, 0);
}

TEST_F(PrinterCheck, UnknownQueueFailsAndChangesNothing) {
    usePrinters({PrinterEntry{QStringLiteral("NoSuchBelvorineQueue"), {}, {}, false}});
    const PageSettings before = printerSettings(0);
    EXPECT_EQ(refreshPrinterMetrics(printerSettings(0), 0), 0);
    EXPECT_EQ(printerSettings(0).marginLeft.minimum, before.marginLeft.minimum);
    EXPECT_EQ(printerGeometry(0).resolutionX, 0);
    EXPECT_EQ(checkPrintersAtStartup(), 0);
    EXPECT_TRUE(paperList(printerEntry(0)).empty());
    EXPECT_TRUE(sourceList(printerEntry(0)).empty());

    setMessageHandlerForTesting([](const MessageRequest&) { return kResultOk; });
    usePrinters({});
    setMessageHandlerForTesting(nullptr);
    EXPECT_EQ(refreshPrinterMetrics(printerSettings(0), 0), 0);
}

// The CUPS path, on the file-backed queues that tools/cups-test-queue.sh
// sets up. Skipped where no scheduler can be had, except in CI.
class CupsQueue : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_TEST_QUEUE(kTestQueue); }
    static PrinterEntry queue() { return test::installedQueue(kTestQueue); }
};

TEST_F(CupsQueue, IsListedBeforeThePdfPrinter) {
    const std::vector<PrinterEntry> printers = installedPrinters();
    ASSERT_GE(printers.size(), 2u);
    EXPECT_EQ(queue().name, QString::fromLatin1(kTestQueue));
    EXPECT_FALSE(queue().pdf);
    EXPECT_TRUE(printers.back().pdf);
}

TEST_F(CupsQueue, OffersA4AndItsInputSlots) {
    const std::vector<PaperEntry> papers = paperList(queue());
    const PaperEntry* a4 = findPaper(papers, 9);
    ASSERT_NE(a4, nullptr);
    EXPECT_EQ(a4->name, QStringLiteral("A4"));
    EXPECT_NE(findPaper(papers, 1), nullptr);  // Letter

    const std::vector<SourceEntry> sources = sourceList(queue());
    ASSERT_EQ(sources.size(), 3u);
    EXPECT_EQ(sources[0].code, 7);
    EXPECT_EQ(sources[0].name, QStringLiteral("自動"));
    EXPECT_EQ(sources[1].code, 1);
    EXPECT_EQ(sources[1].keyword, QByteArray("Upper"));
    EXPECT_EQ(sources[2].code, 4);
    EXPECT_EQ(sources[2].name, QStringLiteral("Manual Feed"));
}

TEST_F(CupsQueue, ReportsResolutionAndPrintableArea) {
    DeviceCaps caps;
    ASSERT_TRUE(queryDeviceCaps(queue(), a4Portrait(), caps));
    ASSERT_GT(caps.resolutionX, 0);
    const int dpi = caps.resolutionX;
    EXPECT_NEAR(caps.paperWidth, 595 * dpi / 72, 2);
    EXPECT_NEAR(caps.paperHeight, 842 * dpi / 72, 2);
    // The description's imageable area leaves 12 points on every side.
    EXPECT_NEAR(caps.offsetX, 12 * dpi / 72, 1);
    EXPECT_NEAR(caps.offsetY, 12 * dpi / 72, 1);
    EXPECT_NEAR(caps.printableWidth, caps.paperWidth - 24 * dpi / 72, 2);
    EXPECT_NEAR(caps.printableHeight, caps.paperHeight - 24 * dpi / 72, 2);

    // A job's painter starts at the paper's corner; the job is told where
    // the printable area lies, as the query says.
    QPrinter printer(QPrinter::HighResolution);
    DeviceCaps job;
    ASSERT_TRUE(setUpPrinter(printer, queue(), a4Portrait(), &job));
    EXPECT_EQ(printer.pageRect(QPrinter::DevicePixel).topLeft(), QPointF(0, 0));
    EXPECT_EQ(job.offsetX, caps.offsetX);
    EXPECT_EQ(job.offsetY, caps.offsetY);
    EXPECT_EQ(job.printableWidth, caps.printableWidth);

    usePrinters({queue(), pdfPrinter()});
    resetSettingsStateForTesting();
    PageSettings& settings = printerSettings(0);
    settings.paperSize = 9;
    settings.orientation = 1;
    settings.marginLeft = {0, 100, 5000};
    ASSERT_TRUE(refreshPrinterMetrics(settings, 0));
    EXPECT_NEAR(settings.marginLeft.minimum, 423, 2);  // 12 points
    EXPECT_EQ(settings.marginLeft.value, settings.marginLeft.minimum);
    resetSettingsStateForTesting();
}

TEST_F(CupsQueue, PrintedPageArrivesWithItsTitleAndSource) {
    // Other tests print to the same queue, whose file holds the last job:
    // wait for a job written after this one was sent that carries both this
    // job's title and its manual feed.
    const QString outputPath = QString::fromLatin1(kTestQueueOutput);
    const QDateTime sent = QDateTime::currentDateTime().addSecs(-1);
    DeviceMode mode = a4Portrait();
    mode.source = 4;  // manual feed
    QPrinter printer(QPrinter::HighResolution);
    ASSERT_TRUE(setUpPrinter(printer, queue(), mode));
    printer.setDocName(QStringLiteral("BELVORINE"));
    {
        PainterDeviceContext dc(&printer);
        ASSERT_TRUE(dc.isActive());
        dc.drawText(QRect(100, 100, 1000, 200), "Belvorine", TextAlign::Left);
    }
    const auto arrived = [](const QByteArray& output) {
        return output.contains("%%EOF") && output.contains("%%Title: (BELVORINE)") &&
               output.contains("/ManualFeed true");
    };
    QByteArray output;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 60000 && !arrived(output)) {
        QThread::msleep(200);
        QFile file(outputPath);
        if (QFileInfo(outputPath).lastModified() >= sent && file.open(QIODevice::ReadOnly)) {
            output = file.readAll();
        }
    }
    EXPECT_TRUE(arrived(output)) << output.left(400).toStdString();
}

// A PostScript printer whose Letter paper has 18 points unprintable at
// its sides and 36 at its top and bottom (tools/belvorine-trays.ppd).
TEST(TraysQueue, LandscapeTurnsTheSmallestMarginsWithThePaper) {
    REQUIRE_TEST_QUEUE("BelvorineTrays");
    usePrinters({test::installedQueue("BelvorineTrays"), pdfPrinter()});
    resetSettingsStateForTesting();
    PageSettings& settings = printerSettings(0);
    settings.paperSize = 1;
    copySjis(settings.paperName, "Letter");
    settings.orientation = 1;
    ASSERT_TRUE(refreshPrinterMetrics(settings, 0));
    const PageSettings portrait = settings;
    EXPECT_EQ(portrait.marginLeft.minimum, 635);  // 18 points
    EXPECT_EQ(portrait.marginTop.minimum, 1270);  // 36 points

    settings.orientation = 2;
    ASSERT_TRUE(refreshPrinterMetrics(settings, 0));
    EXPECT_EQ(settings.marginLeft.minimum, portrait.marginBottom.minimum);
    EXPECT_EQ(settings.marginRight.minimum, portrait.marginTop.minimum);
    EXPECT_EQ(settings.marginTop.minimum, portrait.marginLeft.minimum);
    EXPECT_EQ(settings.marginBottom.minimum, portrait.marginRight.minimum);
    EXPECT_EQ(settings.marginLeft.maximum, portrait.marginTop.maximum);
    EXPECT_EQ(settings.marginTop.maximum, portrait.marginLeft.maximum);
    resetSettingsStateForTesting();
}

}  // namespace
}  // namespace belvorine
