#pragma once
// The row editor "項目の編集": one row of the order history with its payment
// terms, item name, quantity, unit, unit price and delivery place. The
// counterparty and the format index stay as they are.

class QWidget;

namespace belvorine {

class OrderStore;

// Edits store row `storeIndex` over `owner`: 1 after OK (the row changed),
// 2 after cancel.
int runRowEditor(QWidget* owner, OrderStore& store, int storeIndex);

}  // namespace belvorine
