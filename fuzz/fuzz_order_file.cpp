// An order data file through a whole life: the start-up copies it to the
// backup and the working file, the store loads it, a rewrite writes it back,
// the store loads it again, the exit commits it, and the next start loads
// it once more. Whatever the file holds: the rows stay as first loaded (a
// rewrite only sorts them and drops duplicates), the lists stay sorted and
// unique, and the committed data file and backup are a fixed point.

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "data/jis_codec.h"
#include "data/order_file_format.h"
#include "data/order_files.h"
#include "data/order_store.h"
#include "data/settings_state.h"
#include "fuzz_support.h"
#include "platform/sjis_text.h"

using namespace belvorine;
using namespace belvorine::fuzz;

namespace {

std::vector<std::string> storeRows() {
    std::vector<std::string> rows;
    for (int i = 0; i < orderStore().rowCount(); ++i) {
        rows.emplace_back(orderStore().line(i));
    }
    return rows;
}

void checkRow(std::string_view row) {
    FUZZ_CHECK(!row.empty() && row.size() <= kMaxRowBytes);
    // A lone CR or LF read from a file stays (it reads back the same); a
    // line break or a NUL would split or cut the row.
    FUZZ_CHECK(row.find("\r\n") == std::string_view::npos);
    FUZZ_CHECK(row.find('\0') == std::string_view::npos);
    FUZZ_CHECK(sjisPrefixLength(row, row.size()) == row.size());
    // The last field takes whatever follows the ninth TAB, TABs included.
    FUZZ_CHECK(std::count(row.begin(), row.end(), '\t') >= kRowFieldCount - 1 ||
               row.size() + 2 > kMaxRowBytes);
}

// After a rewrite the rows are sorted and unique, and so are both lists.
void checkSortedStore() {
    const OrderStore& store = orderStore();
    for (int i = 0; i < store.rowCount(); ++i) {
        checkRow(store.line(i));
        FUZZ_CHECK(i == 0 || store.line(i - 1) < store.line(i));
    }
    // Counterparties come in row order, which is not their own order when
    // one holds a byte below TAB, but each comes once.
    std::set<std::string> counterparties;
    for (const CounterpartyEntry& entry : store.counterparties()) {
        FUZZ_CHECK(!entry.name.empty());
        FUZZ_CHECK(counterparties.insert(entry.name).second);
    }
    // An empty store offers the default units in their table order.
    const auto& units = store.units();
    FUZZ_CHECK(units.size() >= defaultUnits().size());
    for (std::size_t i = 0; i < units.size() && units != defaultUnits(); ++i) {
        FUZZ_CHECK(!units[i].empty() && units[i].size() <= 9);
        FUZZ_CHECK(i == 0 || units[i - 1] < units[i]);
    }
    FUZZ_CHECK(settings().initialData.counterpartyCount ==
               static_cast<int>(store.counterparties().size()));
}

std::vector<std::string> sortedUnique(std::vector<std::string> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int rowsOf(std::string_view file) {
    std::string decoded;
    return decodeHistory(file, decoded) ? static_cast<int>(historyRows(decoded).size()) : 0;
}

// One start of the program with the files as they are; 0 when it refused.
int start(int rows) {
    freeStore();
    resetOrderFilesForTesting();
    settings().initialData.rowCount = rows;
    // Every question answered Yes, as a user who wants the history back.
    const DataFilePrompts prompts{[](bool) { return 1; }, [] {}, [](int, int) { return 1; },
                                  [](SetAside, const QString&) {}, [](int, int, int) { return 1; }};
    return prepareDataFiles(prompts) && loadStore();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    programFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    resetSettingsStateForTesting();
    putFile("tmp", {});
    putFile("ovd", file);
    putFile("bak", file);
    const int fileRows = rowsOf(file);
    if (!start(fileRows)) {
        // Only a file that is not a history makes the start refuse.
        FUZZ_CHECK(!hasHistoryMark(file));
        return 0;
    }
    const std::vector<std::string> loaded = storeRows();
    FUZZ_CHECK(static_cast<int>(loaded.size()) == (hasHistoryMark(file) ? fileRows : 0));
    for (const std::string& row : loaded) {
        checkRow(row);
    }

    FUZZ_CHECK(writeStore() == 1);
    const std::string written = fileContent("tmp");
    FUZZ_CHECK(loadStore() == 1);
    FUZZ_CHECK(storeRows() == sortedUnique(loaded));
    checkSortedStore();
    // That load kept the rows written instead of reading them: reading the
    // file gives the same.
    const std::vector<CounterpartyEntry> counterparties = orderStore().counterparties();
    const std::vector<std::string> units = orderStore().units();
    freeStore();
    FUZZ_CHECK(loadStore() == 1);
    FUZZ_CHECK(storeRows() == sortedUnique(loaded));
    FUZZ_CHECK(orderStore().units() == units);
    FUZZ_CHECK(orderStore().counterparties().size() == counterparties.size());
    for (std::size_t i = 0; i < counterparties.size(); ++i) {
        FUZZ_CHECK(orderStore().counterparties()[i].name == counterparties[i].name);
        FUZZ_CHECK(orderStore().counterparties()[i].formatIndex == counterparties[i].formatIndex);
    }

    FUZZ_CHECK(writeStore() == 1);
    FUZZ_CHECK(fileContent("tmp") == written);
    const int rows = orderStore().rowCount();
    freeStore();
    FUZZ_CHECK(commitDataFiles() == kCommitDone);
    FUZZ_CHECK(fileContent("ovd") == written && fileContent("bak") == written);
    // The settings count the rows of the committed data file.
    FUZZ_CHECK(settings().initialData.rowCount == rows);

    FUZZ_CHECK(start(rows) == 1);
    FUZZ_CHECK(storeRows() == sortedUnique(loaded));
    freeStore();
    FUZZ_CHECK(commitDataFiles() == kCommitDone);
    FUZZ_CHECK(fileContent("ovd") == written);
    return 0;
}
