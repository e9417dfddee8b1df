// Loading, appending and freeing the order history (declared in
// data/order_store.h).

#include <algorithm>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "data/order_files.h"
#include "data/order_numbers.h"
#include "data/order_record.h"
#include "data/order_store.h"
#include "data/order_text.h"
#include "data/settings_state.h"
#include "platform/sjis_text.h"

namespace belvorine {
namespace {

constexpr std::size_t kQuantityBytes = 19;

// The store of a run without a readable history: no rows, default lists.
void startEmpty(OrderStore& store) {
    store.setDefaultLists();
    store.markLoaded();
    settings().initialData.counterpartyCount = 0;
}

// The lists and counts of a store whose rows are loaded.
void finishLoad(OrderStore& store) {
    store.buildLists();
    store.markLoaded();
    settings().initialData.counterpartyCount = static_cast<int>(store.counterparties().size());
    noteWorkingFileRows(store.rowCount());
}

int loadRows(OrderStore& store) {
    std::string decoded;
    if (!readWorkingHistory(decoded)) {
        noteWorkingFileUnreadable();
        startEmpty(store);
        return 1;
    }
    if (!store.adoptFile(std::move(decoded), versionOfLastRead())) {
        return 0;
    }
    finishLoad(store);
    return 1;
}

// The row of line `line` of the order; the order's texts are trimmed and
// its unit price normalised in place, as printing leaves them.
std::string orderLineRow(OrderRecord& order, OrderLine& line, int format) {
    const std::string_view source =
        line.splitFrom != 0 ? sjisView(line.totalQuantity) : sjisView(line.quantity);
    const std::string quantity =
        normaliseQuantity(source.substr(0, sjisPrefixLength(source, kQuantityBytes)));
    copySjis(line.unitPrice, normaliseUnitPrice(sjisView(line.unitPrice)));
    const std::string formatIndex = std::to_string(format);
    trimTrailingSpaces(order.counterparty);
    trimTrailingSpaces(order.paymentText);
    trimTrailingSpaces(line.nameLine1);
    trimTrailingSpaces(line.nameLine2);
    trimTrailingSpaces(line.unit);
    trimTrailingSpaces(line.unitPrice);
    trimTrailingSpaces(line.deliveryPlaceLine1);
    trimTrailingSpaces(line.deliveryPlaceLine2);
    const std::string_view fields[kRowFieldCount] = {
        sjisView(order.counterparty),
        sjisView(order.paymentText),
        sjisView(line.nameLine1),
        sjisView(line.nameLine2),
        quantity,
        sjisView(line.unit),
        sjisView(line.unitPrice),
        sjisView(line.deliveryPlaceLine1),
        sjisView(line.deliveryPlaceLine2),
        formatIndex,
    };
    return composeRow(fields, kRowFieldCount, true);
}

// Sorts the rows unless they are in order, drops duplicates and emptied
// rows and rewrites the working file.
int writeRows(OrderStore& store) {
    if (!store.inOrder()) {
        store.sortUnique();
    }
    bool readsBack = false;
    const std::uint64_t version =
        writeWorkingFile(store.lines(), store.fileRows(), store.fileVersion(), &readsBack);
    if (version == 0) {
        return 0;
    }
    store.noteWritten(version, readsBack);
    return 1;
}

// The rows the order's filled lines make. A counterparty of blanks alone
// would store rows that no list shows.
std::vector<std::string> orderRows(OrderRecord& order, int format) {
    std::vector<std::string> rows;
    if (trimmedLength(sjisView(order.counterparty)) == 0) {
        return rows;
    }
    for (OrderLine& line : order.lines) {
        if (line.nameLine1[0] != '\0') {
            rows.push_back(orderLineRow(order, line, format));
        }
    }
    return rows;
}

int appendOrder(OrderStore& store, OrderRecord& order, int format) {
    return store.mergeRows(orderRows(order, format)) && writeRows(store);
}

// Runs a change that ends by rewriting the working file. Writing a store
// that was never loaded would replace the history with this order alone.
template <typename Change>
int rewriteStore(Change change) {
    OrderStore& store = orderStore();
    if (!store.loaded()) {
        return 0;
    }
    try {
        return change(store);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

}  // namespace

int loadStore() {
    OrderStore& store = orderStore();
    try {
        // Rows that are the working file's as it stands need not be read
        // again: only the lists are made anew, as a load makes them.
        if (hasWorkingFile() && store.holdsFileRows() && workingFileUnchanged()) {
            finishLoad(store);
            return 1;
        }
        freeStore();
        if (!hasWorkingFile()) {
            startEmpty(store);
            return 1;
        }
        if (loadRows(store)) {
            return 1;
        }
    } catch (const std::bad_alloc&) {
    }
    freeStore();
    return 0;
}

int appendCurrentOrder() {
    return rewriteStore(
        [](OrderStore& store) { return appendOrder(store, currentOrder(), currentFormat()); });
}

int writeStore() {
    return rewriteStore(writeRows);
}

void cutCounterpartyToRows() {
    OrderRecord& order = currentOrder();
    // Worked out on a copy: of the order only the counterparty changes.
    OrderRecord copy = order;
    std::size_t kept = sjisView(order.counterparty).size();
    for (const std::string& row : orderRows(copy, currentFormat())) {
        kept = std::min(kept, rowField(row, kStoreCounterparty).size());
    }
    // A row cuts on character boundaries, after trailing blanks went.
    if (kept < sjisView(order.counterparty).size()) {
        order.counterparty[kept] = '\0';
    }
}

void freeStore() {
    orderStore().clear();
}

}  // namespace belvorine
