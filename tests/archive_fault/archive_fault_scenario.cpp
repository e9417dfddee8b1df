// One run of the program for the archive's fault injection test: the
// start-up in the program folder given, then as many orders as
// BELVORINE_SCENARIO_ORDERS says, each printed to a PDF file of its own in
// the second folder with the archive on (its factory state), then the exit.
// Every message box is answered OK (Yes) and written to standard output.
//
//   archive_fault_scenario <program folder> <folder for the PDFs>

#include <cstdio>
#include <memory>

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "data/order_record.h"
#include "data/order_store.h"
#include "platform/module_path.h"
#include "platform/printers/printer_info.h"
#include "platform/sjis_text.h"
#include "print/print_confirm_dialog.h"
#include "print/print_run.h"
#include "print/printer_list.h"
#include "shell/application.h"
#include "shell/main_window.h"
#include "widgets/commands.h"
#include "widgets/help.h"
#include "widgets/message_box.h"
#include "widgets/mode_state.h"

using namespace belvorine;

namespace {

void enterOrder(int number) {
    OrderRecord& order = currentOrder();
    copySjis(order.year, "2024");
    copySjis(order.month, "1");
    copySjis(order.day, "31");
    copySjis(order.counterparty, toSjisLossy(QStringLiteral("山田商事株式会社")));
    copySjis(order.paymentText, "30");
    OrderLine& line = order.lines[0];
    copySjis(line.nameLine1, toSjisLossy(QStringLiteral("据付工事 %1").arg(number)));
    copySjis(line.quantity, "1");
    copySjis(line.unitPrice, "110000");
    copySjis(line.amount, "110000");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: archive_fault_scenario <program folder> <pdf folder>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    prepareApplication(app);
    setModulePathForTesting(QString::fromLocal8Bit(argv[1]) + QStringLiteral("/belvorine"));
    const QString pdfFolder = QString::fromLocal8Bit(argv[2]);
    int printed = 0;
    setPdfFileChooserForTesting(
        [&]() { return pdfFolder + QStringLiteral("/order%1.pdf").arg(printed); });
    setMessageHandlerForTesting([](const MessageRequest& request) {
        const QString firstLine = request.text.trimmed().section(QLatin1Char('\n'), 0, 0);
        std::printf("MESSAGE %s|%s|%s\n", request.caption.toUtf8().constData(),
                    firstLine.toUtf8().constData(),
                    request.icon == MessageIcon::Warning ? "warning" : "other");
        std::fflush(stdout);
        return request.buttons == MessageButtons::YesNo ? kResultYes : kResultOk;
    });
    usePrinters({pdfPrinter()});
    std::unique_ptr<MainWindow> window(initApplication());
    if (!window) {
        std::printf("START REFUSED\n");
        return 0;
    }
    const int orders = qEnvironmentVariableIntValue("BELVORINE_SCENARIO_ORDERS");
    for (; printed < orders && window->isVisible() && loadStore(); ++printed) {
        orderEntered() = 1;
        enterOrder(printed);
        QTimer::singleShot(0, []() {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                if (auto* button =
                        qobject_cast<QPushButton*>(findControl(dialog, print_confirm::kPrint))) {
                    button->click();
                }
            }
        });
        window->command(kCmdPrint);
        std::printf("PRINTED %d\n", printed);
        std::fflush(stdout);
    }
    modeState().previewMode = 0;
    modeState().layoutMode = 0;
    window->close();
    std::printf("EXITED\n");
    return 0;
}
