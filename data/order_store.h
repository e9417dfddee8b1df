#pragma once
// The order history in memory: one row per printed item line, rebuilt from
// the working file by loadStore, with the pick lists of counterparties and
// units. Rows are kept compactly, each as its file text; a field is read
// from it on demand.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/order_file_format.h"

namespace belvorine {

struct OrderRecord;

// One distinct counterparty and the format index of its last row.
struct CounterpartyEntry {
    std::string name;
    std::int32_t formatIndex = 0;
};

// A row with its fields as separate texts, for editing: slot 0 is the
// whole row, slots 1 to 10 the file fields (StoreField).
struct StoreRow {
    std::string texts[kStoreFieldCount];

    std::string& operator[](int field) { return texts[field]; }
    const std::string& operator[](int field) const { return texts[field]; }
    // Slot 0 := slots 1 to 10 joined by TAB, as the file keeps them.
    void rebuildLine();
    // True when the row holds slots 1 to 10 whole (no field is cut).
    bool fitsWhole() const;
};

class OrderStore {
public:
    bool loaded() const { return loaded_; }
    // Rows of the table; rows emptied by a deletion still count until the
    // store is written.
    int rowCount() const { return static_cast<int>(rows_.size()); }
    bool isEmptyRow(int row) const { return line(row).empty(); }
    std::string_view line(int row) const;
    std::string_view field(int row, int field) const;
    StoreRow row(int index) const;

    // Stores fields 1 to 10 of `row` and rebuilds the line from them. A TAB,
    // CR or LF in a field becomes a space; a row over 255 bytes has its
    // longest text fields cut to fit.
    // Rows outside the table and deleted rows are left alone.
    void setRow(int index, const StoreRow& row);
    // Changes one field (1 to 10) and rebuilds the line, as setRow does.
    void setField(int row, int field, std::string_view text);
    // True when row `row` with field `field` set to `text` holds all its
    // fields whole (StoreRow::fitsWhole).
    bool fieldFits(int row, int field, std::string_view text) const;
    // Deletes a row: it is empty from now on and is not written.
    void emptyRow(int row);

    // Distinct non-empty counterparties in row order (CounterpartyList).
    const std::vector<CounterpartyEntry>& counterparties() const { return counterparties_; }
    // Distinct units ascending by byte value, at most 9 bytes each (UnitList).
    const std::vector<std::string>& units() const { return units_; }

    // Indices of the non-empty rows whose counterparty is `counterparty`
    // byte for byte, in row order.
    std::vector<int> rowsOf(std::string_view counterparty) const;

    // Used by loadStore, appendCurrentOrder and freeStore.
    void clear();
    int addRow(std::string_view line);
    // Takes a decoded history file as the rows: its text becomes the text
    // block, so that rows already in their normal form are not copied.
    // `version`: the working file's version when it is the one this run
    // last wrote (versionOfLastRead), else 0.
    int adoptFile(std::string&& decoded, std::uint64_t version = 0);
    // True while the rows are in ascending order without duplicates or
    // emptied rows, as a loaded history and every written one are.
    bool inOrder() const { return inOrder_; }
    void sortUnique();
    // Adds rows to a table in order, each by binary search, dropping
    // duplicates; a table out of order is sorted whole.
    int mergeRows(const std::vector<std::string>& added);
    void buildLists();
    void setDefaultLists();
    void markLoaded() { loaded_ = true; }
    std::vector<std::string_view> lines() const;
    // For each row, its index in the working file of version fileVersion(),
    // or -1 for a row added or changed since (writeWorkingFile's rowsBefore).
    std::vector<int> fileRows() const;
    std::uint64_t fileVersion() const { return fileVersion_; }
    // The rows were written as they stand to the working file of `version`.
    // `readsBack`: every row the write encoded reads back from the file as
    // it was given.
    void noteWritten(std::uint64_t version, bool readsBack);
    // True when the rows are exactly what loading the working file of
    // fileVersion() (or the file last adopted) gives: nothing changed them
    // since, and every row reads back from the file unchanged.
    bool holdsFileRows() const { return loaded_ && holdsFile_; }

private:
    struct Span {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
        std::int32_t fileRow = -1;  // see fileRows()
    };

    std::string_view spanText(Span span) const;
    void noteOrder(std::string_view text);
    int storeText(int index, std::string_view text);
    // addRow for a row known to be in its normal form.
    int appendRow(std::string_view text);
    // setRow with the ten fields of the new row.
    void replaceLine(int index, const std::string_view* fields);

    std::string text_;  // the rows' texts one after another
    std::vector<Span> rows_;
    std::vector<CounterpartyEntry> counterparties_;
    std::vector<std::string> units_;
    bool loaded_ = false;
    bool inOrder_ = true;
    std::uint64_t fileVersion_ = 0;
    bool holdsFile_ = false;
    // Every row is in the form a load gives it (normalised, no line break
    // or NUL), as all rows but those a caller adds with addRow are.
    bool normalRows_ = true;
};

// The one history of the process.
OrderStore& orderStore();

// Set to 1 by the main window when the store is reloaded for data entry or
// the browser; a print is appended to the history only while it is 1.
std::int32_t& orderEntered();

// Rebuilds the store from the working file; the counterparty count goes to
// the settings' InitialData (their row count is the commit's alone). A run
// without a working file starts with an empty store; a working file that
// cannot be read or is not a history gives one too (the exit will not
// commit, and no write of this run replaces the file). Returns 0 only when
// memory ran out: ERROR No.0002 follows.
int loadStore();

// Appends the filled lines of the current order as rows (when it has a
// counterparty), sorts the rows, drops duplicates and emptied rows and
// rewrites the working file. Returns 0 when the store is not loaded or the
// working file could not be read at the load or not be written: ERROR
// No.0003 follows.
int appendCurrentOrder();

// Cuts the current order's counterparty, once for all its rows, to the part
// of it that every one of its history rows keeps (a row holds 255 bytes; an
// overlong row has its longest fields cut), so that the printed name, each
// row and the pick list agree. Called before a print.
void cutCounterpartyToRows();

// Writes the rows as they are (the browser's edits) without appending the
// current order: sorted, without duplicates and emptied rows. Returns 0 as
// appendCurrentOrder does.
int writeStore();

// Releases the rows and the lists; the store is not loaded afterwards.
void freeStore();

// The nine default units in table order, in Shift-JIS.
const std::vector<std::string>& defaultUnits();

}  // namespace belvorine
