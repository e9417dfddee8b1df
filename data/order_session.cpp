#include "data/order_session.h"

#include "data/order_record.h"
#include "data/order_store.h"

namespace belvorine {

int openOrderData(const DataFilePrompts& prompts) {
    if (!prepareDataFiles(prompts)) {
        return kErrorDataFiles;
    }
    if (!loadStore()) {
        return kErrorLoad;
    }
    initialiseCurrentOrder();
    return 0;
}

}  // namespace belvorine
