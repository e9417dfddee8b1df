// One run of the program as a user makes it, for the fault injection test:
// the start-up in the program folder given, then one of the user's paths
// that write the program's files, then the exit with its settings save and
// commit:
//   run       a data entry and a print to PDF that appends to the history,
//             for each order (BELVORINE_SCENARIO_ORDERS)
//   split     the same for one order whose first line was split into three
//             partial deliveries
//   browse    Ctrl+H: one row edited, another deleted, OK
//   bulk      Ctrl+H: the counterparty's payment terms changed in bulk, OK
//   settings  a frame moved in layout mode, the page setup's format name
//             and the company profile changed
//   check     nothing: start-up and exit only
// Every message box is answered as a user who wants the history back would
// (Yes, OK; or No) and written to standard output, with the rows the start-up
// loaded, so that the test sees what the user saw. Where the start-up ends,
// "mark started" is written to the shim's operation log.
//
//   fault_scenario <action> <program folder> <folder for the PDF>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTableView>

#include "../next_dialog.h"
#include "data/order_record.h"
#include "data/order_store.h"
#include "data/settings_state.h"
#include "entry/company_profile_dialog.h"
#include "entry/existing_data_browser.h"
#include "entry/history_dialog_ids.h"
#include "form/layout_preparation.h"
#include "platform/module_path.h"
#include "platform/printers/printer_info.h"
#include "platform/sjis_text.h"
#include "print/print_run.h"
#include "print/printer_list.h"
#include "shell/application.h"
#include "shell/main_window.h"
#include "widgets/commands.h"
#include "widgets/help.h"
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

const char* const kCounterparty = "山田商事株式会社";

// The order a user enters: a counterparty and two lines, named after the
// rows already there so that every run adds two rows.
void enterOrder() {
    const std::string run = std::to_string(orderStore().rowCount());
    OrderRecord& order = currentOrder();
    copySjis(order.counterparty, sjis(kCounterparty));
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

// The order as the partial delivery dialog leaves it: line 1 split into
// three deliveries of one total, which the history keeps as one row.
void enterSplitOrder() {
    enterOrder();
    OrderRecord& order = currentOrder();
    const char* quantities[] = {"40", "40", "40"};
    for (int i = 0; i < 3; ++i) {
        OrderLine& line = order.lines[i];
        line = order.lines[1];
        copySjis(line.quantity, quantities[i]);
        copySjis(line.totalQuantity, "120");
        line.splitFrom = 1;
    }
}

void click(QWidget* dialog, int id) {
    if (auto* button = qobject_cast<QAbstractButton*>(findControl(dialog, id))) {
        button->click();
    }
}

void setText(QWidget* dialog, int id, const char* utf8) {
    if (auto* edit = qobject_cast<QLineEdit*>(findControl(dialog, id))) {
        edit->setText(QString::fromUtf8(utf8));
    }
}

void selectListRow(QWidget* browser, int row) {
    auto* view = qobject_cast<QTableView*>(findControl(browser, existing_data::kList));
    view->selectionModel()->select(view->model()->index(row, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void print(MainWindow& window, int orders, bool split) {
    for (int order = 0; order < orders && window.isVisible() && loadStore(); ++order) {
        orderEntered() = 1;
        split ? enterSplitOrder() : enterOrder();
        // The print dialog opens modal; "印　刷" sends the job.
        test::whenNextDialogIsUp([](QWidget* dialog) { click(dialog, 1399); });
        window.command(kCmdPrint);
    }
}

// Ctrl+H on the counterparty's rows, changed by `edit`, then OK.
void editHistory(MainWindow& window, std::function<void(QWidget* browser)> edit) {
    selectedCounterparty() = sjis(kCounterparty);
    test::whenNextDialogIsUp([edit](QWidget* browser) {
        edit(browser);
        click(browser, existing_data::kOk);
    });
    window.command(kCmdExistingData);
}

void browse(MainWindow& window) {
    editHistory(window, [](QWidget* browser) {
        selectListRow(browser, 0);
        test::whenNextDialogIsUp([](QWidget* editor) {
            setText(editor, row_editor::kQuantity, "77");
            click(editor, row_editor::kOk);
        });
        click(browser, existing_data::kEdit);
        selectListRow(browser, 1);
        click(browser, existing_data::kDelete);
    });
}

void changeTermsInBulk(MainWindow& window) {
    editHistory(window, [](QWidget* browser) {
        test::whenNextDialogIsUp([](QWidget* change) {
            click(change, bulk_payment::kCash);
            click(change, bulk_payment::kOk);
        });
        click(browser, existing_data::kBulkChange);
    });
}

// A frame moved in layout mode, the format's name and the company's name.
void changeSettings(MainWindow& window) {
    window.command(kCmdLayoutStart);
    if (!window.isVisible()) {
        return;
    }
    Rect& frame = liveLayout(currentFormat())[13].mmRect;
    frame.top += 500;
    frame.bottom += 500;
    prepareLayout(currentFormat(), liveLayout(currentFormat()));
    window.command(kCmdLayoutEnd);
    test::whenNextDialogIsUp([](QWidget* setup) {
        setText(setup, 1301, "書式Ａ");
        click(setup, 1317);
    });
    window.command(kCmdPageSetup);
    test::whenNextDialogIsUp([](QWidget* profile) {
        setText(profile, company_profile::kName, "株式会社ベルヴォリン商会");
        click(profile, company_profile::kRegister);
    });
    window.command(kCmdCompanyProfile);
}

// Tells the test where the start-up's file operations end.
void markStartUpEnd() {
    const QByteArray log = qgetenv("BELVORINE_FAULT_LOG");
    if (log.isEmpty()) {
        return;
    }
    const int fd = ::open(log.constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd >= 0) {
        const char mark[] = "mark started\n";
        if (::write(fd, mark, sizeof mark - 1) < 0) {
            std::perror("mark");
        }
        ::close(fd);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr,
                     "usage: fault_scenario run|split|browse|bulk|settings|check <program folder> "
                     "<pdf folder>\n");
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
    const std::string action = argv[1];
    QApplication app(argc, argv);
    prepareApplication(app);
    setModulePathForTesting(QString::fromLocal8Bit(argv[2]) + QStringLiteral("/belvorine"));
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
    markStartUpEnd();
    if (!window) {
        std::printf("START REFUSED\n");
        return 0;
    }
    std::printf("ROWS %d\n", orderStore().rowCount());
    std::fflush(stdout);
    // An error closes the window, ending the run.
    if (action == "run" || action == "split") {
        // A second print rewrites a working file this run wrote, copying the
        // rows it keeps.
        print(*window,
              action == "split" ? 1 : qEnvironmentVariableIntValue("BELVORINE_SCENARIO_ORDERS"),
              action == "split");
    } else if (action == "browse") {
        browse(*window);
    } else if (action == "bulk") {
        changeTermsInBulk(*window);
    } else if (action == "settings") {
        changeSettings(*window);
    }
    modeState().previewMode = 0;
    modeState().layoutMode = 0;
    window->close();
    std::printf("EXITED\n");
    return 0;
}
