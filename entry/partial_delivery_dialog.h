#pragma once
// The partial delivery dialog "分納内訳": one item line of the data entry
// dialog split into up to five consecutive lines, one per partial delivery.
// Each keeps the line it came from and the total after the split, which the
// history stores instead of the partial quantity.

#include <string>

namespace belvorine {

class DataEntryDialog;
struct WorkingOrder;

// Runs the dialog over `dialog` for line `line` (1 to 4) of the working
// order: 1 after OK (lines changed), 2 after cancel.
int splitDelivery(DataEntryDialog& dialog, int line);

// The sum of the partial quantities (thousands separators allowed, a text
// that is not a number counts 0) as "%8.0f", or "%8.2f" when it has a
// fraction.
std::string partialTotal(const std::string (&parts)[5]);

// Copies line `line` (1 to 5) into consecutive lines from `line` on, one per
// non-empty part, never past line 5: each copy takes its part as quantity,
// `line` as splitFrom and `total` as totalQuantity, and an amount computed
// from its quantity and unit price (empty when that gives none). Returns the
// number of lines written.
int splitWorkingLine(WorkingOrder& working, int line, const std::string (&parts)[5],
                     const std::string& total);

}  // namespace belvorine
