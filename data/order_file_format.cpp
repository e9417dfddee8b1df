#include "data/order_file_format.h"

#include <algorithm>

#include "data/jis_codec.h"
#include "data/order_text.h"
#include "platform/sjis_text.h"

namespace belvorine {
namespace {

bool isRowBreak(char c) {
    return c == '\t' || c == '\r' || c == '\n';
}

bool hasRowBreak(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) <= '\r' && isRowBreak(c)) {
            return true;
        }
    }
    return false;
}

// The ten fields as composeRow joins them: views into the fields given, or
// into `owned` where a field had to change (a TAB, CR or LF made a space).
struct RowParts {
    std::string_view parts[kRowFieldCount];
    std::string owned[kRowFieldCount];
};

// The longest length L such that the text fields, each cut to at most L
// bytes, fit into `budget` bytes.
std::size_t fieldCap(const std::string_view (&parts)[kRowFieldCount], std::size_t budget) {
    std::size_t cap = kMaxRowBytes;
    for (;; --cap) {
        std::size_t total = 0;
        for (int i = 0; i < kRowFieldCount - 1; ++i) {
            total += std::min(parts[i].size(), cap);
        }
        if (total <= budget || cap == 0) {
            return cap;
        }
    }
}

// True when the field has no trailing blank. Every row of a history is
// checked at load, so only a field whose last byte could end a blank (a
// space, or the second byte of a full-width one) is scanned.
bool endsTrimmed(std::string_view field) {
    if (field.empty() || (field.back() != ' ' && field.back() != '\x40')) {
        return true;
    }
    return trimmedLength(field) == field.size();
}

// The ten fields as composeRow joins them, before any cut; returns the
// length of the row they make. A field that needs no change is not copied.
std::size_t rowParts(const std::string_view* fields, int count, bool sanitise, RowParts& row) {
    std::size_t total = kRowFieldCount - 1;  // the TABs
    for (int i = 0; i < kRowFieldCount; ++i) {
        std::string_view part = i < count ? fields[i] : std::string_view();
        if (sanitise && hasRowBreak(part)) {
            std::string& copy = row.owned[i];
            copy.assign(part);
            std::replace_if(copy.begin(), copy.end(), isRowBreak, ' ');
            part = copy;
        }
        if (i < kRowFieldCount - 1) {
            if (!endsTrimmed(part)) {
                part = part.substr(0, trimmedLength(part));
            }
        } else if (part.empty()) {
            part = "0";
        }
        row.parts[i] = part;
        total += part.size();
    }
    return total;
}

}  // namespace

const std::string& historyHeader() {
    static const std::string header = toSjisLossy(QStringLiteral("注文書データファイル\r\n"));
    return header;
}

bool hasHistoryMark(std::string_view file) {
    return file.size() >= 5 && file[3] == 0x43 && file[4] == 0x6D;
}

std::vector<std::string_view> historyRows(std::string_view decoded) {
    std::vector<std::string_view> rows;
    rows.reserve(decoded.size() / 64 + 1);
    forEachHistoryRow(decoded, [&rows](std::string_view row) { rows.push_back(row); });
    return rows;
}

std::size_t composedRowLength(const std::string_view* fields, int count, bool sanitise) {
    RowParts row;
    return rowParts(fields, count, sanitise, row);
}

std::string composeRow(const std::string_view* fields, int count, bool sanitise) {
    RowParts row;
    std::string_view(&parts)[kRowFieldCount] = row.parts;
    if (rowParts(fields, count, sanitise, row) > kMaxRowBytes) {
        // Too long for a row: the longest text fields are cut on character
        // boundaries until the row fits, so that every field keeps its place
        // and the format index stays whole. Cut and trimmed fields never need
        // cutting again, so a load and a rewrite leave the row as it is.
        std::string_view& formatIndex = parts[kRowFieldCount - 1];
        const std::size_t room = kMaxRowBytes - (kRowFieldCount - 1);
        formatIndex = formatIndex.substr(0, sjisPrefixLength(formatIndex, room));
        const std::size_t cap = fieldCap(parts, room - formatIndex.size());
        for (int i = 0; i < kRowFieldCount - 1; ++i) {
            std::string_view& part = parts[i];
            part = part.substr(0, sjisPrefixLength(part, cap));
            part = part.substr(0, trimmedLength(part));
        }
    }
    std::string text;
    text.reserve(kMaxRowBytes + 1);
    for (int i = 0; i < kRowFieldCount; ++i) {
        if (i > 0) {
            text += '\t';
        }
        text += parts[i];
    }
    return text;
}

int splitRow(std::string_view row, std::string_view (&fields)[kStoreFieldCount]) {
    fields[kStoreLine] = row;
    int slot = 1;
    std::size_t start = 0;
    for (; slot < kStoreFormatIndex; ++slot) {
        const std::size_t tab = row.find('\t', start);
        if (tab == std::string_view::npos) {
            break;
        }
        fields[slot] = row.substr(start, tab - start);
        start = tab + 1;
    }
    for (int empty = slot; empty < kStoreFormatIndex; ++empty) {
        fields[empty] = std::string_view();
    }
    fields[kStoreFormatIndex] = row.substr(start);
    return slot;
}

std::string normaliseRow(std::string_view line) {
    std::string_view parts[kStoreFieldCount];
    splitRow(line, parts);
    return composeRow(parts + 1, kRowFieldCount, false);
}

bool isNormalRow(std::string_view line) {
    if (line.size() > kMaxRowBytes) {
        return false;
    }
    // Every history row is checked at load: one walk over fields 1 to 9.
    std::size_t start = 0;
    for (int field = kStoreCounterparty; field < kStoreFormatIndex; ++field) {
        const std::size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos || !endsTrimmed(line.substr(start, tab - start))) {
            return false;
        }
        start = tab + 1;
    }
    return start < line.size();  // field 10 is never empty
}

std::string_view rowField(std::string_view row, int field) {
    if (field <= kStoreLine || field >= kStoreFieldCount) {
        return field == kStoreLine ? row : std::string_view();
    }
    // Only as far as the field: the browser and the lists read one or two
    // fields of every row.
    std::size_t start = 0;
    for (int slot = kStoreCounterparty; slot < kStoreFormatIndex; ++slot) {
        const std::size_t tab = row.find('\t', start);
        if (tab == std::string_view::npos) {
            // Fields after the last TAB are empty, but for the last one.
            return field == kStoreFormatIndex ? row.substr(start) : std::string_view();
        }
        if (slot == field) {
            return row.substr(start, tab - start);
        }
        start = tab + 1;
    }
    return row.substr(start);
}

const std::string& encodedHistoryHeader() {
    static const std::string header = encodeJis(historyHeader());
    return header;
}

void appendEncodedRow(std::string& file, std::string_view row) {
    appendJis(file, row);
    file += "\r\n";
}

std::string buildHistoryFile(const std::vector<std::string_view>& rows) {
    std::string file = encodedHistoryHeader();
    for (const std::string_view row : rows) {
        if (!row.empty()) {
            appendEncodedRow(file, row);
        }
    }
    return file;
}

int decodeHistory(std::string_view file, std::string& decoded) {
    decoded.clear();
    if (!hasHistoryMark(file)) {
        return 0;
    }
    decoded = decodeJis(file);
    return 1;
}

}  // namespace belvorine
