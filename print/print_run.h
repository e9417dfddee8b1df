#pragma once
// The print command: the confirmation, then one job that prints the chosen
// documents of the current order on the current format's printer.

#include <functional>

#include <QString>

#include "print/print_selection.h"

class QWidget;

namespace belvorine {

struct IssuedDocument;

// The title of every job the program sends.
inline constexpr char kJobTitle[] = "BELVORINE";
// The program named as the creator of every document it prints.
inline constexpr char kJobCreator[] = "Belvorine Ver 4.30";

// Results of a print run.
enum PrintResult : int { kPrintCancelled = -1, kPrintFailed = 0, kPrintDone = 1 };

struct PrintJobOptions {
    // The main window: disabled while the job runs, owner of the progress
    // dialog. Without one the job runs without a dialog (benchmarks).
    QWidget* owner = nullptr;
    // The PDF printer's file; empty to ask with a save dialog. A chooser
    // that returns an empty name cancels the job.
    std::function<QString()> choosePdfFile;
    // Receives what a finished job issued, for the archive, when the
    // archive keeps this kind of print: the PDF file as written, or the
    // pages of a paper print drawn again on a PDF. Left as it is otherwise.
    IssuedDocument* issued = nullptr;
};

// Prints the selected documents as one job named "BELVORINE". Returns
// kPrintDone when the job was sent, kPrintFailed when it could not be
// started, a page failed or the job could not be finished, and
// kPrintCancelled when no PDF file was chosen or the user aborted it.
int printDocuments(const DocumentSelection& selection, const PrintJobOptions& options);

// The whole print command: the confirmation dialog (cancelled: −1), the
// longest counterparty lengthened by the order's, then the job. `issued`
// as in PrintJobOptions.
int runPrint(QWidget* owner, IssuedDocument* issued = nullptr);

// Lets tests answer the PDF printer's save dialog; empty restores it.
void setPdfFileChooserForTesting(std::function<QString()> chooser);

// The scale of a printer page: device pixels per 100 screen pixels.
int printScale(int printerResolutionY, int displayResolutionY);

}  // namespace belvorine
