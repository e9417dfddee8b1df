#include "print/print_run.h"

#include <cstring>
#include <memory>
#include <optional>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "archive/archive_issue.h"
#include "archive/archive_pdf.h"
#include "archive/archive_settings.h"
#include "archive/register_entry.h"
#include "data/order_record.h"
#include "data/order_store.h"
#include "data/settings_state.h"
#include "form/page_renderer.h"
#include "platform/painter_device_context.h"
#include "platform/printers/device_mode.h"
#include "platform/printers/printer_query.h"
#include "platform/safe_file.h"
#include "platform/screen_metrics.h"
#include "platform/sjis_text.h"
#include "print/device_geometry.h"
#include "print/print_confirm_dialog.h"
#include "print/print_progress_dialog.h"
#include "print/printer_list.h"

namespace belvorine {
namespace {

std::function<QString()>& testPdfChooser() {
    static std::function<QString()> chooser;
    return chooser;
}

QString askPdfFile(QWidget* owner) {
    QString name = QFileDialog::getSaveFileName(owner, QStringLiteral("PDFファイルに印刷"),
                                                QDir::home().filePath(QStringLiteral("注文書.pdf")),
                                                QStringLiteral("PDF (*.pdf)"));
    if (!name.isEmpty() && !name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        name += QStringLiteral(".pdf");
    }
    return name;
}

// Lengthens the format's longest counterparty by the order's.
void rememberCounterparty() {
    char* longest = longestCounterparty(currentFormat());
    const std::string_view counterparty = sjisView(currentOrder().counterparty);
    if (counterparty.size() > sjisView(longest, 256).size()) {
        copySjis(longest, 256, counterparty);
    }
}

// One job on one device, a CUPS queue's QPrinter or the PDF printer's
// QPdfWriter: its pages, drawn by the page renderer.
class PrintJob {
public:
    // `caps` places the printable area on the device, whose painter starts
    // at the paper's corner.
    PrintJob(QPrinter& printer, const DeviceCaps& caps, int format)
        : device_(printer),
          printer_(&printer),
          caps_(caps),
          file_(printer.outputFileName()),
          format_(format) {}
    PrintJob(QPdfWriter& writer, const DeviceCaps& caps, const QString& file, int format)
        : device_(writer), caps_(caps), file_(file), format_(format) {}

    // Every page drawn is drawn on `archive` too (a paper print that is kept).
    void drawAlsoOn(ArchivePdf* archive) { archive_ = archive; }
    // Sheets started so far.
    int sheets() const { return sheets_; }

    // Prints page `index` (document kind index + 1); 0 when the page could
    // not be started.
    int printPage(int index) {
        PageSettings settings = printerSettings(format_);
        const bool oneSheet = settings.orderAndCopyOnOneSheet == 1;
        // On one sheet the copy joins the order's page; printed alone it
        // needs a page of its own, or nothing would be printed at all.
        bool newSheet = false;
        if (!oneSheet || index != 1 || !painter_.isActive()) {
            if (!startPage()) {
                return 0;
            }
            newSheet = true;
        }
        // The page's metrics are those the job's own device was set up with,
        // for this format's paper: no second printer is asked.
        setMarginLimits(caps_, settings);
        PageGeometry& geometry = printerGeometry(format_);
        fillGeometry(caps_, settings, geometry);
        PageGeometry page = geometry;
        if (oneSheet) {
            // The order fills the upper half of the sheet, its copy the lower.
            page.marginBoxTop += geometry.paperHeight * index * 100 / 2;
            page.marginBoxBottom -= (1 - index) * geometry.paperHeight * 100 / 2;
        }
        const int scale = printScale(caps_.resolutionY, screenMetrics().dpiY);
        PainterDeviceContext dc(painter_);
        dc.setTextColor(Qt::black);
        drawFormPage(dc, page, settings, scale, index + 1);
        if (archive_) {
            // A page the archive cannot take leaves it empty; the print goes on.
            archive_->addPage(device_.pageLayout(), caps_, page, settings, scale, index + 1,
                              newSheet);
        }
        return 1;
    }

    // Ends the job; 0 when the printing system did not take it.
    int finish() {
        if (!painter_.isActive()) {
            // Nothing was selected: an empty job, nothing to send.
            return 1;
        }
        return painter_.end() ? 1 : 0;
    }

    // Stops the job; a PDF file it had begun is removed rather than left
    // with some of its pages.
    void abort() {
        if (painter_.isActive()) {
            if (printer_) {
                printer_->abort();
            }
            painter_.end();
        }
        if (!file_.isEmpty()) {
            QFile::remove(file_);
        }
    }

private:
    int startPage() {
        const bool started = painter_.isActive() ? device_.newPage() : painter_.begin(&device_);
        if (!started) {
            return 0;
        }
        ++sheets_;
        // The page geometry counts from the printable origin.
        painter_.resetTransform();
        painter_.translate(caps_.offsetX, caps_.offsetY);
        return 1;
    }

    QPagedPaintDevice& device_;
    QPrinter* printer_ = nullptr;  // null for the PDF printer
    DeviceCaps caps_;
    QString file_;  // the PDF printer's file
    QPainter painter_;
    int format_;
    ArchivePdf* archive_ = nullptr;
    int sheets_ = 0;
};

// Disables the main window for the job and shows the progress dialog.
class JobWindow {
public:
    explicit JobWindow(QWidget* owner) : owner_(owner) {
        if (owner_) {
            dialog_ = std::make_unique<PrintProgressDialog>(owner_);
            owner_->setEnabled(false);
            dialog_->show();
        }
    }
    ~JobWindow() {
        if (owner_) {
            owner_->setEnabled(true);
        }
    }
    void showPage(int index) {
        if (dialog_) {
            dialog_->setProgress(index);
        }
        pump();
    }
    // The abort button is handled while messages are pumped here.
    void pump() { QCoreApplication::processEvents(); }
    bool aborted() const { return dialog_ && dialog_->aborted(); }

private:
    QWidget* owner_;
    std::unique_ptr<PrintProgressDialog> dialog_;
};

}  // namespace

int printScale(int printerResolutionY, int displayResolutionY) {
    return printerResolutionY * 100 / (displayResolutionY != 0 ? displayResolutionY : 96);
}

void setPdfFileChooserForTesting(std::function<QString()> chooser) {
    testPdfChooser() = std::move(chooser);
}

namespace {

// Sends the selected pages as one job on `job`.
int runJob(PrintJob& job, const DocumentSelection& selection, const PrintJobOptions& options) {
    JobWindow window(options.owner);
    const bool oneSheet = printerSettings(currentFormat()).orderAndCopyOnOneSheet == 1;
    for (int index = 0; index < 3; ++index) {
        // A one-sheet format has no sheet left for the acknowledgement.
        if (selection.pages[index] != 1 || (index == 2 && oneSheet)) {
            continue;
        }
        window.showPage(index);
        if (window.aborted()) {
            break;
        }
        if (!job.printPage(index)) {
            job.abort();
            return kPrintFailed;
        }
    }
    window.pump();
    if (window.aborted()) {
        job.abort();
        return kPrintCancelled;
    }
    return job.finish() ? kPrintDone : kPrintFailed;
}

// What a finished job issued, for the archive: the order as printed and
// `pdf`, the document that went out.
void describeIssue(IssuedDocument& issued, int format, int sheets, QByteArray pdf) {
    issued = describeOrder(currentOrder(), format, issueDay());
    issued.pages = sheets;
    issued.pdf = std::move(pdf);
}

// The PDF printer's file as written, read back whole.
QByteArray writtenPdf(const QString& file) {
    std::string content;
    if (readFileBounded(file, content) != FileRead::kRead) {
        return QByteArray();
    }
    return QByteArray(content.data(), static_cast<qsizetype>(content.size()));
}

const QString kDocumentName = QString::fromLatin1(kJobTitle);
const QString kCreator = QString::fromLatin1(kJobCreator);

}  // namespace

int printDocuments(const DocumentSelection& selection, const PrintJobOptions& options) {
    const int format = currentFormat();
    const PageSettings& settings = printerSettings(format);
    const PrinterEntry& entry = printerEntry(settings.printerIndex);
    if (entry.pdf) {
        // The PDF printer never asks the printing system for anything.
        const QString file = options.choosePdfFile ? options.choosePdfFile()
                             : testPdfChooser()    ? testPdfChooser()()
                                                   : askPdfFile(options.owner);
        if (file.isEmpty()) {
            return kPrintCancelled;
        }
        QPdfWriter writer(file);
        DeviceCaps caps;
        setUpPdfWriter(writer, deviceModeFor(settings), &caps);
        writer.setTitle(kDocumentName);
        writer.setCreator(kCreator);
        PrintJob job(writer, caps, file, format);
        const int result = runJob(job, selection, options);
        if (result == kPrintDone && options.issued && job.sheets() > 0 &&
            archiveSettings().archivePdfPrints) {
            // The archive keeps the very file that was issued.
            describeIssue(*options.issued, format, job.sheets(), writtenPdf(file));
        }
        return result;
    }
    // A queue is asked on a thread of its own, so that a scheduler that
    // does not answer leaves the window painted and ends in a failure
    // rather than a hang.
    struct SetUp {
        std::unique_ptr<QPrinter> printer;
        DeviceCaps caps;
    };
    auto setUp = askPrintingSystem(
        [entry, mode = deviceModeFor(settings)]() {
            SetUp made{std::make_unique<QPrinter>(QPrinter::HighResolution), DeviceCaps()};
            if (!setUpPrinter(*made.printer, entry, mode, &made.caps)) {
                made.printer.reset();
            }
            return made;
        },
        kPrinterQueryTimeoutMs);
    if (!setUp || !setUp->printer) {
        return kPrintFailed;
    }
    QPrinter& printer = *setUp->printer;
    printer.setDocName(kDocumentName);
    printer.setCreator(kCreator);
    PrintJob job(printer, setUp->caps, format);
    std::optional<ArchivePdf> archive;
    if (options.issued && archiveSettings().archivePaperPrints) {
        job.drawAlsoOn(&archive.emplace(kDocumentName, kCreator));
    }
    const int result = runJob(job, selection, options);
    if (result == kPrintDone && archive && job.sheets() > 0) {
        describeIssue(*options.issued, format, job.sheets(), archive->finish());
    }
    return result;
}

int runPrint(QWidget* owner, IssuedDocument* issued) {
    if (runPrintConfirmDialog(owner) != 1) {
        return kPrintCancelled;
    }
    if (orderEntered() == 1) {
        // The paper shows the name the history will keep; a cancelled
        // print leaves the name as typed.
        cutCounterpartyToRows();
    }
    rememberCounterparty();
    PrintJobOptions options;
    options.owner = owner;
    options.issued = issued;
    return printDocuments(documentSelection(), options);
}

}  // namespace belvorine
