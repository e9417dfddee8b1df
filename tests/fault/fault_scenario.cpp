// One run of the program as a user makes it, for the fault injection test:
// the start-up in the program folder given, then (with "run") a data entry
// and a print to PDF that appends to the history for each order, then the
// exit with its settings save and commit; with "check" only the start-up
// and the exit.
// Every message box is answered as a user who wants the history back would
// (Yes, OK; or No) and written to standard output, with the rows the start-up
// loaded, so that the test sees what the user saw.
//
//   fault_scenario run|check <program folder> <folder for the PDF>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "archive/archive_settings.h"
#include "data/order_record.h"
#include "data/order_store.h"
#include "platform/module_path.h"
#include "platform/printers/printer_info.h"
#include "platform/sjis_text.h"
#include "print/print_run.h"
#include "print/printer_list.h"
#include "shell/application.h"
#include "widgets/commands.h"
#include "widgets/help.h"
#include "shell/main_window.h"
#include "widgets/message_box.h"
#include "widgets/mode_state.h"

using namespace belvorine;

#ifndef __has_feature
#define __has_feature(x) 0
#endif

namespace {

std::string sjis(const char* utf8) {
    return toSjisLossy(QString::fromUtf8(utf8));
}

// The order a user enters: a counterparty and two lines, named after the
// rows already there so that every run adds two rows.
void enterOrder() {
    const std::string run = std::to_string(orderStore().rowCount());
    OrderRecord& order = currentOrder();
    copySjis(order.counterparty, sjis("山田商事株式会社"));
    copySjis(order.paymentText, "30");
    const char* names[] = {"据付工事", "六角ボルト M8"};
    const char* quantities[] = {"1", "120"};
    const char* prices[] = {"250000", "35.5"};
    for (int i = 0; i < 2; ++i) {
        OrderLine& line = order.lines[i];
        copySjis(line.nameLine1, sjis(names[i]) + " " + run);
        copySjis(line.quantity, quantities[i]);
        copySjis(line.unit, sjis("個"));
        copySjis(line.unitPrice, prices[i]);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: fault_scenario run|check <program folder> <pdf folder>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
#if !defined(__SANITIZE_ADDRESS__) && !__has_feature(address_sanitizer)
    // A file without end must end the run, not the machine's memory
    // (a sanitizer's shadow memory needs the whole address space).
    if (const char* limit = std::getenv("BELVORINE_SCENARIO_MEMORY_MB")) {
        const rlim_t bytes = static_cast<rlim_t>(std::atoll(limit)) << 20;
        const rlimit bound{bytes, bytes};
        setrlimit(RLIMIT_AS, &bound);
    }
#endif
    const bool fullRun = std::string(argv[1]) == "run";
    QApplication app(argc, argv);
    prepareApplication(app);
    setModulePathForTesting(QString::fromLocal8Bit(argv[2]) + QStringLiteral("/belvorine"));
    // The archive has a sweep of its own (archive_fault_test); this one keeps to the program's files.
    setArchiveSettingsForTesting(ArchiveSettings{false, false, {}, {}});
    const QString pdf = QString::fromLocal8Bit(argv[3]) + QStringLiteral("/order.pdf");
    setPdfFileChooserForTesting([pdf]() { return pdf; });
    // BELVORINE_SCENARIO_DECLINE=1: a user who answers No to every question.
    const bool decline = qEnvironmentVariableIntValue("BELVORINE_SCENARIO_DECLINE") == 1;
    setMessageHandlerForTesting([decline](const MessageRequest& request) {
        const QString firstLine = request.text.trimmed().section(QLatin1Char('\n'), 0, 0);
        const char* icon = request.icon == MessageIcon::Error     ? "error"
                           : request.icon == MessageIcon::Warning ? "warning"
                                                                  : "other";
        std::printf("MESSAGE %s|%s|%s\n", request.caption.toUtf8().constData(),
                    firstLine.toUtf8().constData(), icon);
        std::fflush(stdout);
        if (request.buttons == MessageButtons::YesNo) {
            return decline ? kResultNo : kResultYes;
        }
        return kResultOk;
    });
    usePrinters({pdfPrinter()});

    std::unique_ptr<MainWindow> window(initApplication());
    if (!window) {
        std::printf("START REFUSED\n");
        return 0;
    }
    std::printf("ROWS %d\n", orderStore().rowCount());
    std::fflush(stdout);
    // BELVORINE_SCENARIO_ORDERS orders: a second print rewrites a working
    // file this run wrote, copying the rows it keeps. An error closes the
    // window, ending the run.
    const int orders = qEnvironmentVariableIntValue("BELVORINE_SCENARIO_ORDERS");
    for (int order = 0; fullRun && order < orders && window->isVisible() && loadStore(); ++order) {
        orderEntered() = 1;
        enterOrder();
        // The print dialog opens modal; "印　刷" sends the job.
        QTimer::singleShot(0, []() {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                if (auto* button = qobject_cast<QPushButton*>(findControl(dialog, 1399))) {
                    button->click();
                }
            }
        });
        window->command(kCmdPrint);
    }
    modeState().previewMode = 0;
    modeState().layoutMode = 0;
    window->close();
    std::printf("EXITED\n");
    return 0;
}
