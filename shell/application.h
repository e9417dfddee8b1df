#pragma once
// Start-up of the program and its one event loop.

class QApplication;

namespace belvorine {

class MainWindow;

inline constexpr char kInstanceName[] = "Belvorine Ver 4.30";

// The window side of start-up: the folder of the program's files (made at
// a first start), screen metrics, settings, printers (the list a
// startPrinterDiscovery() began, or the one already kept), layouts and the
// main window, shown as it was last closed. Returns the window, or
// nullptr when start-up ended (any message has been shown by then).
MainWindow* initApplication();

// The whole program: refuses a second instance silently, starts up and runs
// the event loop. Returns the loop's exit code (0 when it did not start).
int runApplication(int argc, char** argv);

// Settings every QApplication of the program needs (names, icon, fonts);
// also used by the tests and benchmarks that build real windows.
void prepareApplication(QApplication& app);

}  // namespace belvorine
