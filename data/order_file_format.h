#pragma once
// The order data file: a CR LF text whose first line is the header
// "注文書データファイル" and whose further lines are rows of ten
// TAB-separated fields, encoded with encodeJis.

#include <string>
#include <string_view>
#include <vector>

namespace belvorine {

// Fields of a row; kStoreLine is the whole row, 1 to 10 the file fields.
enum StoreField : int {
    kStoreLine = 0,
    kStoreCounterparty = 1,
    kStorePaymentText = 2,
    kStoreNameLine1 = 3,
    kStoreNameLine2 = 4,
    kStoreQuantity = 5,
    kStoreUnit = 6,
    kStoreUnitPrice = 7,
    kStorePlaceLine1 = 8,
    kStorePlaceLine2 = 9,
    kStoreFormatIndex = 10,
};
inline constexpr int kStoreFieldCount = 11;
inline constexpr int kRowFieldCount = 10;         // file fields of a row
inline constexpr std::size_t kMaxRowBytes = 255;  // a row and the header line

// The plain (not yet encoded) header line, CR LF included.
const std::string& historyHeader();

// True when the file carries the header's mark: its fourth and fifth bytes
// are 0x43 0x6D, the JIS code of "注" after ESC $ B.
bool hasHistoryMark(std::string_view file);

// Calls `visit` with each row of a decoded file: the lines after the header
// that end with CR LF, without it. A last line without CR LF and empty
// lines are not rows.
template <typename Visit>
void forEachHistoryRow(std::string_view decoded, Visit visit) {
    bool header = true;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = decoded.find("\r\n", start);
        if (end == std::string_view::npos) {
            return;
        }
        if (!header && end > start) {
            visit(decoded.substr(start, end - start));
        }
        header = false;
        start = end + 2;
    }
}

// The rows of a decoded file, as forEachHistoryRow visits them.
std::vector<std::string_view> historyRows(std::string_view decoded);

// Rebuilds a row from its ten fields (missing ones empty): fields 1 to 9
// without their trailing blanks, an empty field 10 as "0", joined by TAB.
// A row longer than 255 bytes keeps its ten fields: the longest of fields 1
// to 9 are cut on character boundaries until it fits; field 10 is only cut
// when it alone is longer than a row can hold. With `sanitise` (new data
// entering the history) a TAB, CR or LF inside a field becomes a space, so
// that a field never spills into the next one or into another row.
std::string composeRow(const std::string_view* fields, int count, bool sanitise);

// The length of the row composeRow makes of the fields before it cuts any:
// above kMaxRowBytes, the row would not hold them whole.
std::size_t composedRowLength(const std::string_view* fields, int count, bool sanitise);

// A row read from a file, normalised: the line is split at its first nine
// TABs into fields 1 to 9, the rest going to field 10, and rebuilt with
// composeRow. Normalising a normalised row leaves it unchanged.
std::string normaliseRow(std::string_view line);

// True when normaliseRow would leave the line as it is.
bool isNormalRow(std::string_view line);

// Field `field` of a normalised row (kStoreLine gives the row itself).
std::string_view rowField(std::string_view row, int field);

// Splits a row into fields 1 to 10 (fields[0] is the row); returns the
// number of file fields found.
int splitRow(std::string_view row, std::string_view (&fields)[kStoreFieldCount]);

// The header line as the file holds it.
const std::string& encodedHistoryHeader();

// Appends a row as the file holds it, CR LF included. Every row ends its
// escape run before its CR LF, so a row encodes alone as it does within the
// whole file, and a file's rows can be copied from it one by one.
void appendEncodedRow(std::string& file, std::string_view row);

// The encoded file of the non-empty rows, in the given order.
std::string buildHistoryFile(const std::vector<std::string_view>& rows);

// Decodes a file that carries the history mark. Returns 0 (and leaves
// `decoded` empty) when the file is empty or is not a history.
int decodeHistory(std::string_view file, std::string& decoded);

}  // namespace belvorine
