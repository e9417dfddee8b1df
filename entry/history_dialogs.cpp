#include "entry/history_dialogs.h"

#include "entry/data_entry_dialog.h"
#include "entry/existing_data_browser.h"
#include "entry/partial_delivery_dialog.h"

namespace belvorine {

void installHistoryDialogs() {
    setPartialDeliveryHook(&splitDelivery);
    setExistingDataHook(&pickExistingData);
}

}  // namespace belvorine
