#include "data/order_store.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <set>
#include <unordered_set>

#include "data/order_numbers.h"
#include "data/order_record.h"
#include "data/order_text.h"
#include "platform/sjis_text.h"

namespace belvorine {
namespace {

constexpr std::size_t kUnitBytes = 9;  // a unit list entry holds 10 bytes

// The fields 1 to 10 of a row as views.
void fieldViews(const StoreRow& row, std::string_view (&fields)[kRowFieldCount]) {
    for (int i = 0; i < kRowFieldCount; ++i) {
        fields[i] = row[i + 1];
    }
}

// Fields 1 (the counterparty) and 6 (the unit) of a row, as splitRow gives
// them, found in one walk that ends at the unit.
void listFields(std::string_view row, std::string_view& counterparty, std::string_view& unit) {
    counterparty = std::string_view();
    unit = std::string_view();
    const char* const end = row.data() + row.size();
    const char* start = row.data();
    for (int field = kStoreCounterparty; field <= kStoreUnit && start < end; ++field) {
        const auto* tab = static_cast<const char*>(std::memchr(start, '\t', end - start));
        if (tab == nullptr) {
            return;
        }
        if (field == kStoreCounterparty) {
            counterparty = std::string_view(start, static_cast<std::size_t>(tab - start));
        } else if (field == kStoreUnit) {
            unit = std::string_view(start, static_cast<std::size_t>(tab - start));
        }
        start = tab + 1;
    }
}

}  // namespace

void StoreRow::rebuildLine() {
    std::string_view fields[kRowFieldCount];
    fieldViews(*this, fields);
    texts[kStoreLine] = composeRow(fields, kRowFieldCount, true);
}

bool StoreRow::fitsWhole() const {
    std::string_view fields[kRowFieldCount];
    fieldViews(*this, fields);
    return composedRowLength(fields, kRowFieldCount, true) <= kMaxRowBytes;
}

std::string_view OrderStore::line(int row) const {
    if (row < 0 || row >= rowCount()) {
        return std::string_view();
    }
    return spanText(rows_[static_cast<std::size_t>(row)]);
}

std::string_view OrderStore::field(int row, int field) const {
    const std::string_view text = line(row);
    return text.empty() ? text : rowField(text, field);
}

StoreRow OrderStore::row(int index) const {
    StoreRow result;
    const std::string_view text = line(index);
    if (text.empty()) {
        return result;
    }
    std::string_view fields[kStoreFieldCount];
    splitRow(text, fields);
    for (int i = 0; i < kStoreFieldCount; ++i) {
        result[i] = fields[i];
    }
    return result;
}

void OrderStore::setRow(int index, const StoreRow& row) {
    std::string_view fields[kRowFieldCount];
    fieldViews(row, fields);
    replaceLine(index, fields);
}

void OrderStore::setField(int row, int field, std::string_view text) {
    if (field <= kStoreLine || field >= kStoreFieldCount) {
        return;
    }
    std::string_view fields[kStoreFieldCount];
    splitRow(line(row), fields);
    fields[field] = text;
    replaceLine(row, fields + 1);
}

bool OrderStore::fieldFits(int row, int field, std::string_view text) const {
    std::string_view fields[kStoreFieldCount];
    splitRow(line(row), fields);
    if (field > kStoreLine && field < kStoreFieldCount) {
        fields[field] = text;
    }
    return composedRowLength(fields + 1, kRowFieldCount, true) <= kMaxRowBytes;
}

void OrderStore::replaceLine(int index, const std::string_view* fields) {
    // A deleted row stays deleted.
    if (isEmptyRow(index)) {
        return;
    }
    const std::string text = composeRow(fields, kRowFieldCount, true);
    // An unchanged row keeps its place, so that a bulk change or an OK
    // without edits costs no sort and no rewrite of every row.
    if (text == line(index)) {
        return;
    }
    storeText(index, text);
    inOrder_ = false;
}

void OrderStore::emptyRow(int row) {
    if (row >= 0 && row < rowCount()) {
        rows_[static_cast<std::size_t>(row)] = Span();
        inOrder_ = false;
        holdsFile_ = false;
    }
}

std::vector<int> OrderStore::rowsOf(std::string_view counterparty) const {
    std::vector<int> found;
    if (inOrder_ && !counterparty.empty()) {
        // In a table in order the rows of one counterparty, the rows that
        // begin with it and a TAB, stand together.
        const auto from = [this](std::string_view key) {
            return static_cast<int>(std::lower_bound(rows_.begin(), rows_.end(), key,
                                                     [this](Span span, std::string_view k) {
                                                         return spanText(span) < k;
                                                     }) -
                                    rows_.begin());
        };
        std::string key(counterparty);
        key += '\t';
        const int first = from(key);
        key.back() = '\t' + 1;
        found.resize(static_cast<std::size_t>(from(key) - first));
        std::iota(found.begin(), found.end(), first);
        return found;
    }
    for (int row = 0; row < rowCount(); ++row) {
        if (!isEmptyRow(row) && field(row, kStoreCounterparty) == counterparty) {
            found.push_back(row);
        }
    }
    return found;
}

std::string_view OrderStore::spanText(Span span) const {
    return std::string_view(text_).substr(span.offset, span.length);
}

// Puts `text` at the end of the text block and points row `index` at it;
// the old text stays unused until the rows are written. 0 when the block
// would outgrow 32-bit offsets.
int OrderStore::storeText(int index, std::string_view text) {
    if (index < 0 || index > rowCount() || text_.size() + text.size() > UINT32_MAX) {
        return 0;
    }
    const Span span{static_cast<std::uint32_t>(text_.size()),
                    static_cast<std::uint32_t>(text.size())};
    text_.append(text);
    holdsFile_ = false;
    if (index == rowCount()) {
        rows_.push_back(span);
    } else {
        rows_[static_cast<std::size_t>(index)] = span;
    }
    return 1;
}

void OrderStore::clear() {
    std::string().swap(text_);
    std::vector<Span>().swap(rows_);
    std::vector<CounterpartyEntry>().swap(counterparties_);
    std::vector<std::string>().swap(units_);
    loaded_ = false;
    inOrder_ = true;
    fileVersion_ = 0;
    holdsFile_ = false;
    normalRows_ = true;
}

// Called before `text` becomes the last row.
void OrderStore::noteOrder(std::string_view text) {
    if (!rows_.empty() && !(line(rowCount() - 1) < text)) {
        inOrder_ = false;
    }
}

int OrderStore::addRow(std::string_view text) {
    normalRows_ = normalRows_ && isNormalRow(text) && text.find("\r\n") == std::string_view::npos &&
                  text.find('\0') == std::string_view::npos;
    return appendRow(text);
}

int OrderStore::appendRow(std::string_view text) {
    noteOrder(text);
    return storeText(rowCount(), text);
}

int OrderStore::adoptFile(std::string&& decoded, std::uint64_t version) {
    if (decoded.size() > UINT32_MAX) {
        return 0;
    }
    const bool asWritten = version != 0;
    fileVersion_ = version;
    text_ = std::move(decoded);
    std::vector<Span> lines;
    forEachHistoryRow(text_, [this, &lines, asWritten](std::string_view text) {
        const auto index = static_cast<std::int32_t>(lines.size());
        lines.push_back(Span{static_cast<std::uint32_t>(text.data() - text_.data()),
                             static_cast<std::uint32_t>(text.size()), asWritten ? index : -1});
    });
    rows_.reserve(lines.size());
    for (const Span span : lines) {
        // Offsets, not views: a row normalised on the way grows the block.
        const std::string_view text = spanText(span);
        if (isNormalRow(text)) {
            noteOrder(text);
            rows_.push_back(span);
        } else if (!appendRow(normaliseRow(text))) {
            return 0;
        }
    }
    holdsFile_ = true;
    return 1;
}

int OrderStore::mergeRows(const std::vector<std::string>& added) {
    if (!inOrder_) {
        for (const std::string& text : added) {
            if (!appendRow(text)) {
                return 0;
            }
        }
        sortUnique();
        return 1;
    }
    for (const std::string& text : added) {
        const auto at = std::lower_bound(
            rows_.begin(), rows_.end(), std::string_view(text),
            [this](Span span, std::string_view key) { return spanText(span) < key; });
        if (text.empty() || (at != rows_.end() && spanText(*at) == text)) {
            continue;
        }
        const auto index = at - rows_.begin();
        rows_.insert(at, Span());
        if (!storeText(static_cast<int>(index), text)) {
            rows_.erase(rows_.begin() + index);
            return 0;
        }
    }
    return 1;
}

std::vector<std::string_view> OrderStore::lines() const {
    std::vector<std::string_view> result;
    result.reserve(rows_.size());
    for (int i = 0; i < rowCount(); ++i) {
        result.push_back(line(i));
    }
    return result;
}

std::vector<int> OrderStore::fileRows() const {
    std::vector<int> result;
    result.reserve(rows_.size());
    for (const Span span : rows_) {
        result.push_back(span.fileRow);
    }
    return result;
}

void OrderStore::noteWritten(std::uint64_t version, bool readsBack) {
    fileVersion_ = version;
    holdsFile_ = readsBack && normalRows_;
    std::int32_t index = 0;
    for (Span& span : rows_) {
        span.fileRow = span.length > 0 ? index++ : -1;
    }
}

// Sorts the rows by their text, drops duplicates and emptied rows and packs
// the text block. Each row keeps its place in the working file, so that a
// rewrite after the browser's edits still copies the rows it did not change.
void OrderStore::sortUnique() {
    std::vector<Span> sorted;
    sorted.reserve(rows_.size());
    std::size_t size = 0;
    for (const Span span : rows_) {
        if (span.length > 0) {
            sorted.push_back(span);
            size += span.length;
        }
    }
    // string_view compares through char_traits<char>, which orders bytes as
    // unsigned values.
    std::stable_sort(sorted.begin(), sorted.end(),
                     [this](Span a, Span b) { return spanText(a) < spanText(b); });
    sorted.erase(std::unique(sorted.begin(), sorted.end(),
                             [this](Span a, Span b) { return spanText(a) == spanText(b); }),
                 sorted.end());
    std::string packed;
    packed.reserve(size);
    for (Span& span : sorted) {
        const std::string_view text = spanText(span);
        span.offset = static_cast<std::uint32_t>(packed.size());
        packed.append(text);
    }
    text_.swap(packed);
    rows_.swap(sorted);
    inOrder_ = true;
    holdsFile_ = false;
}

// The counterparty list, the longest counterparty of each format and the
// unit list, from the rows in table order. Every load makes them.
void OrderStore::buildLists() {
    counterparties_.clear();
    std::set<std::string_view> units(defaultUnits().begin(), defaultUnits().end());
    // Units as the rows hold them, before they are cut to a list entry:
    // most rows repeat one of a few.
    std::unordered_set<std::string_view> seen;
    std::string_view lastUnit;
    std::string_view name;
    std::string_view unit;
    listFields(line(0), name, unit);
    for (int i = 0; i < rowCount(); ++i) {
        const std::string_view text = line(i);
        const std::string_view current = name;
        if ((i == 0 || unit != lastUnit) && seen.insert(unit).second) {
            units.insert(unit.substr(0, sjisPrefixLength(unit, kUnitBytes)));
        }
        lastUnit = unit;
        listFields(line(i + 1), name, unit);
        if (current.empty() || current == name) {
            continue;
        }
        const int format = leadingInteger(rowField(text, kStoreFormatIndex));
        counterparties_.push_back(CounterpartyEntry{std::string(current), format});
        char* longest = longestCounterparty(format);
        if (current.size() > std::strlen(longest)) {
            copySjis(longest, 256, current);
        }
    }
    units_.clear();
    for (const std::string_view entry : units) {
        if (!entry.empty()) {
            units_.emplace_back(entry);
        }
    }
}

void OrderStore::setDefaultLists() {
    counterparties_.clear();
    units_ = defaultUnits();
}

OrderStore& orderStore() {
    static OrderStore store;
    return store;
}

std::int32_t& orderEntered() {
    static std::int32_t flag = 0;
    return flag;
}

const std::vector<std::string>& defaultUnits() {
    static const std::vector<std::string> units = [] {
        std::vector<std::string> list;
        for (const char* unit : {"枚", "個", "式", "台", "kg", "組", "巻", "箱", "本"}) {
            list.push_back(toSjisLossy(QString::fromUtf8(unit)));
        }
        return list;
    }();
    return units;
}

}  // namespace belvorine
