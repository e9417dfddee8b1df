// What the print command does for a user, as one process, for
// /usr/bin/time: read the settings, layout and history files beside it
// (prepared with --prepare ROWS), fill a five-line order, print the pages
// the settings ask for to the PDF printer without any dialog (format 1:
// order, copy and acknowledgement; format 2: order and copy on one sheet),
// store the printed lines, save the settings, commit the history and exit;
// the exit status is 0 only when all of it succeeded. See
// run_process_benches.sh.

#include <cstdlib>
#include <cstring>

#include <QApplication>
#include <QDir>

#include "bench/bench_support.h"
#include "bench/process_setup.h"
#include "data/order_files.h"
#include "data/order_session.h"
#include "data/order_store.h"
#include "data/settings_file.h"
#include "data/settings_state.h"
#include "platform/module_path.h"
#include "platform/printers/printer_info.h"
#include "print/print_run.h"
#include "print/printer_list.h"
#include "shell/application.h"

using namespace belvorine;

namespace {

// Prints format `format` the way its settings ask to `file`.
int printFormat(int format, const QString& file) {
    settings().initialData.formatIndex = format;
    const PageSettings& print = printerSettings(format);
    DocumentSelection selection;
    selection.pages[2] = print.makeAcknowledgement == 1 && print.orderAndCopyOnOneSheet != 1;
    PrintJobOptions options;
    options.choosePdfFile = [file]() { return file; };
    return printDocuments(selection, options) == kPrintDone && appendCurrentOrder();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    prepareApplication(app);
    if (argc == 3 && std::strcmp(argv[1], "--prepare") == 0) {
        return prepareProgramFolder(std::atoi(argv[2])) ? 0 : 1;
    }
    // The built-in PDF printer only: a benchmark never waits for a queue.
    usePrinters({pdfPrinter()});
    if (!startWithoutWindow() || openOrderData({}) != 0) {
        return 1;
    }
    fillFiveLineOrder();
    const QString folder = programFilesFolder();
    const int printed = printFormat(0, folder + QStringLiteral("/format1.pdf")) &&
                        printFormat(1, folder + QStringLiteral("/format2.pdf"));
    // A run that skipped or failed any of its work must not pass as a fast
    // one: saving the settings and committing the history count too.
    const int saved = saveSettings();
    freeStore();
    const int committed = commitDataFiles();
    return printed && saved && committed == kCommitDone ? 0 : 1;
}
