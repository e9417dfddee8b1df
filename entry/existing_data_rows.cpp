#include "entry/existing_data_rows.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "data/order_file_format.h"
#include "data/order_store.h"
#include "data/order_text.h"
#include "entry/data_entry_ids.h"
#include "entry/working_order.h"
#include "platform/sjis_text.h"

namespace belvorine {
namespace {

std::string_view cut(std::string_view text, std::size_t maxBytes) {
    return text.substr(0, sjisPrefixLength(text, maxBytes));
}

template <std::size_t N>
void copyField(char (&dest)[N], std::string_view text, std::size_t maxBytes = N - 1) {
    copySjis(dest, cut(text, maxBytes < N - 1 ? maxBytes : N - 1));
}

std::string twoLines(std::string_view first, std::string_view second) {
    std::string text(first);
    text.append("\r\n");
    text.append(second);
    return text;
}

void fillLine(OrderLine& line, const OrderStore& store, int row) {
    copyField(line.nameLine1, store.field(row, kStoreNameLine1), kNameLineBytes);
    copyField(line.nameLine2, store.field(row, kStoreNameLine2), kNameLineBytes);
    copyField(line.name, twoLines(line.nameLine1, line.nameLine2), data_entry::kNameBytes);
    copyField(line.quantity, store.field(row, kStoreQuantity));
    copyField(line.unit, store.field(row, kStoreUnit), data_entry::kUnitBytes);
    copyField(line.unitPrice, store.field(row, kStoreUnitPrice));
    copyField(line.deliveryPlaceLine1, store.field(row, kStorePlaceLine1), kPlaceLineBytes);
    copyField(line.deliveryPlaceLine2, store.field(row, kStorePlaceLine2), kPlaceLineBytes);
    copyField(line.deliveryPlace, twoLines(line.deliveryPlaceLine1, line.deliveryPlaceLine2),
              data_entry::kPlaceBytes);
}

}  // namespace

int pickRows(WorkingOrder& working, const OrderStore& store, const std::vector<int>& storeIndices) {
    const int free = kOrderLineCount - working.lineCount;
    const int count = std::min(free, static_cast<int>(storeIndices.size()));
    if (count > 0 && working.paymentText[0] == '\0') {
        copyField(working.paymentText, store.field(storeIndices.front(), kStorePaymentText));
    }
    working.paymentKind = paymentKindOf(sjisView(working.paymentText));
    for (int i = 0; i < count; ++i) {
        fillLine(working.lines[working.lineCount], store,
                 storeIndices[static_cast<std::size_t>(i)]);
        ++working.lineCount;
    }
    return count < 0 ? 0 : count;
}

}  // namespace belvorine
