#pragma once
// The order data's part in the main window's creation: the data files
// prepared, the history loaded and today's order set up.

#include "data/order_files.h"

namespace belvorine {

// Numbered errors that follow a failure of the order data.
inline constexpr int kErrorDataFiles = 1;  // prepareDataFiles failed
inline constexpr int kErrorLoad = 2;       // loadStore failed
inline constexpr int kErrorWrite = 3;      // appendCurrentOrder failed

// prepareDataFiles, loadStore, then the current order initialised for
// today. Returns 0 on success, else the number of the error to show
// (kErrorDataFiles or kErrorLoad).
int openOrderData(const DataFilePrompts& prompts);

}  // namespace belvorine
