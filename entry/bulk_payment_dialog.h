#pragma once
// The bulk change of payment terms "支払条件一括変更": every history row of
// the chosen counterparty, under both formats, takes the new terms.

#include <string>
#include <string_view>

class QWidget;

namespace belvorine {

class OrderStore;

// Changes the rows of `counterparty` (Shift-JIS); the dialog starts with
// `startTerms` (the terms of the first listed row, empty for a note without
// days when nothing is listed). 1 after OK (rows changed), 2 after cancel.
int runBulkPaymentChange(QWidget* owner, OrderStore& store, const std::string& counterparty,
                         std::string_view startTerms);

// Gives every row of `counterparty` the payment text `terms` and rebuilds
// its line. Returns 0 and changes nothing when a row would outgrow a row of
// the history.
int changePaymentTerms(OrderStore& store, const std::string& counterparty,
                       const std::string& terms);

}  // namespace belvorine
