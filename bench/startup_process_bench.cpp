// The program's whole start-up in one process, for /usr/bin/time: the
// settings, the printers, a history beside it (prepared with --prepare
// ROWS), the main window built and painted once under the offscreen
// platform, then the normal exit. See run_process_benches.sh.

#include <cstring>
#include <cstdlib>

#include <QApplication>

#include "bench/process_setup.h"
#include "print/printer_list.h"
#include "shell/application.h"
#include "shell/main_window.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    belvorine::prepareApplication(app);
    if (argc == 3 && std::strcmp(argv[1], "--prepare") == 0) {
        return belvorine::prepareProgramFolder(std::atoi(argv[2])) ? 0 : 1;
    }
    if (!belvorine::discoverPrinters()) {
        return 1;
    }
    belvorine::MainWindow* window = belvorine::initApplication();
    if (!window) {
        return 1;
    }
    window->grab();  // the first paint of every child
    window->close();
    delete window;
    return 0;
}
