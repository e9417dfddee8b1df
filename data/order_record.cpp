#include "data/order_record.h"

#include "data/records.h"

namespace belvorine {

OrderRecord& currentOrder() {
    static OrderRecord order;
    return order;
}

char* longestCounterparty(int format) {
    static char texts[kFormatCount][256] = {};
    return texts[format == 1 ? 1 : 0];
}

}  // namespace belvorine
