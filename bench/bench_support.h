#pragma once
// What the benchmarks share: a realistic order history, a filled order and
// the program's start-up pieces without its windows.

#include <string>

class QApplication;

namespace belvorine {

// The encoded order data file of `rows` rows with Japanese counterparties,
// items and units, the same for every run. The first `bigSupplierRows` of
// them belong to one supplier (bigSupplier(), format 1); the others are
// those of a history without it.
std::string generateHistory(int rows, int bigSupplierRows = 0);

// The supplier of generateHistory's bigSupplierRows, in Shift-JIS.
std::string bigSupplier();

// Five filled lines in the current order, for a counterparty on a 90-day
// note.
void fillFiveLineOrder();

// Shift-JIS of a UTF-8 text.
std::string sj(const char* utf8);

// Runs the program's start-up steps that come before its main window: the
// screen, the settings, the printers' geometry and the layouts. Returns 0
// when the start-up would end.
int startWithoutWindow();

}  // namespace belvorine
