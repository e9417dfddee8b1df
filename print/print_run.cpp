#include "print/print_run.h"

#include <cstring>
#include <memory>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPainter>
#include <QPrinter>

#include "data/order_record.h"
#include "data/settings_state.h"
#include "form/page_renderer.h"
#include "platform/painter_device_context.h"
#include "platform/printers/device_mode.h"
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
    QString name = QFileDialog::getSaveFileName(
        owner, QStringLiteral("PDFファイルに印刷"), QDir::home().filePath(QStringLiteral("注文書.pdf")),
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

// One job on one QPrinter: its pages, drawn by the page renderer.
class PrintJob {
public:
    PrintJob(QPrinter& printer, int format) : printer_(printer), format_(format) {}

    // Prints page `index` (document kind index + 1); 0 when the page could
    // not be started.
    int printPage(int index) {
        PageSettings settings = printerSettings(format_);
        refreshPrinterMetrics(settings, format_);
        const bool oneSheet = settings.orderAndCopyOnOneSheet == 1;
        // On one sheet the copy joins the order's page; printed alone it
        // needs a page of its own, or nothing would be printed at all.
        if (!oneSheet || index != 1 || !painter_.isActive()) {
            if (!startPage()) {
                return 0;
            }
        }
        DeviceCaps caps;
        if (!readDeviceCaps(printer_, caps)) {
            return 0;
        }
        PageGeometry& geometry = printerGeometry(format_);
        fillGeometry(caps, settings, geometry);
        PageGeometry page = geometry;
        if (oneSheet) {
            // The order fills the upper half of the sheet, its copy the lower.
            page.marginBoxTop += geometry.paperHeight * index * 100 / 2;
            page.marginBoxBottom -= (1 - index) * geometry.paperHeight * 100 / 2;
        }
        PainterDeviceContext dc(painter_);
        dc.setTextColor(Qt::black);
        drawFormPage(dc, page, settings, printScale(caps.resolutionY, screenMetrics().dpiY),
                     index + 1);
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
            printer_.abort();
            painter_.end();
        }
        if (!printer_.outputFileName().isEmpty()) {
            QFile::remove(printer_.outputFileName());
        }
    }

private:
    int startPage() {
        if (!painter_.isActive()) {
            return painter_.begin(&printer_) ? 1 : 0;
        }
        return printer_.newPage() ? 1 : 0;
    }

    QPrinter& printer_;
    QPainter painter_;
    int format_;
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

int printDocuments(const DocumentSelection& selection, const PrintJobOptions& options) {
    const int format = currentFormat();
    const PageSettings& settings = printerSettings(format);
    const PrinterEntry& entry = printerEntry(settings.printerIndex);
    QPrinter printer(QPrinter::HighResolution);
    if (!setUpPrinter(printer, entry, deviceModeFor(settings))) {
        return kPrintFailed;
    }
    if (entry.pdf) {
        const QString file = options.choosePdfFile ? options.choosePdfFile()
                             : testPdfChooser()    ? testPdfChooser()()
                                                   : askPdfFile(options.owner);
        if (file.isEmpty()) {
            return kPrintCancelled;
        }
        printer.setOutputFileName(file);
    }
    printer.setDocName(QStringLiteral("BELVORINE"));
    printer.setCreator(QStringLiteral("Belvorine Ver 4.30"));

    JobWindow window(options.owner);
    PrintJob job(printer, format);
    for (int index = 0; index < 3; ++index) {
        // A one-sheet format has no sheet left for the acknowledgement.
        if (selection.pages[index] != 1 || (index == 2 && settings.orderAndCopyOnOneSheet == 1)) {
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

int runPrint(QWidget* owner) {
    if (runPrintConfirmDialog(owner) != 1) {
        return kPrintCancelled;
    }
    rememberCounterparty();
    PrintJobOptions options;
    options.owner = owner;
    return printDocuments(documentSelection(), options);
}

}  // namespace belvorine
