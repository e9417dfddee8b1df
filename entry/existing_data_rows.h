#pragma once
// What the existing data browser and its editors do to the records: picked
// rows become item lines of the working order, and an edited row must still
// fit a row of the history.

#include <vector>

namespace belvorine {

class OrderStore;
struct WorkingOrder;

// Fills the free line slots after the filled lines with the store rows
// `storeIndices` (in this order), at most as many as there are free slots;
// the texts are cut at character boundaries to what the data entry dialog
// accepts. An empty payment text takes the first picked row's; the payment
// kind follows the payment text. Returns the number of lines added.
int pickRows(WorkingOrder& working, const OrderStore& store, const std::vector<int>& storeIndices);

}  // namespace belvorine
