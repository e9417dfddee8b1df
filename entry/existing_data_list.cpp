#include "entry/existing_data_list.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "data/order_file_format.h"
#include "data/order_store.h"
#include "data/settings_state.h"
#include "entry/working_order.h"
#include "platform/sjis_text.h"
#include "widgets/sjis_input.h"

namespace belvorine {
namespace {

constexpr std::size_t kListTextBytes = 255;
constexpr std::size_t kHeadBytes = 8;  // the bytes of a sort key compared as one number

const char* const kTitles[kListColumnCount] = {"",         "   品  名", "支払条件", "数  量  ",
                                               "単  価  ", "納品場所",  "書式名"};
const Qt::Alignment kAlignments[kListColumnCount] = {
    Qt::AlignLeft,  Qt::AlignLeft,    Qt::AlignLeft,   Qt::AlignRight,
    Qt::AlignRight, Qt::AlignHCenter, Qt::AlignHCenter};

void appendPaymentColumn(std::string& out, std::string_view payment) {
    if (payment.empty() || paymentKindOf(payment) != kPaymentNote) {
        out += payment;
        return;
    }
    static const std::string note = toSjisLossy(QStringLiteral("手形 "));
    static const std::string days = toSjisLossy(QStringLiteral(" 日"));
    out += note;
    if (payment.size() < 4) {
        out.append(4 - payment.size(), ' ');
    }
    out += payment;
    out += days;
}

// Appends listText to `out`.
void appendListText(std::string& out, const OrderStore& store, int storeIndex, int column) {
    const std::size_t start = out.size();
    // One walk over the row for the fields a column joins.
    std::string_view fields[kStoreFieldCount];
    splitRow(store.line(storeIndex), fields);
    switch (column) {
        case 0: {
            char number[16];
            std::snprintf(number, sizeof number, "%05d", storeIndex);
            out += number;
            break;
        }
        case 1:
            out += fields[kStoreNameLine1];
            out += fields[kStoreNameLine2];
            break;
        case 2:
            appendPaymentColumn(out, fields[kStorePaymentText]);
            break;
        case 3:
            out += fields[kStoreQuantity];
            out += fields[kStoreUnit];
            break;
        case 4:
            out += fields[kStoreUnitPrice];
            break;
        case 5:
            out += fields[kStorePlaceLine1];
            out += fields[kStorePlaceLine2];
            break;
        case 6: {
            const int format = fields[kStoreFormatIndex] == "0" ? 0 : 1;
            out += sjisView(printerSettings(format).formatName);
            break;
        }
        default:
            break;
    }
    const std::string_view text = std::string_view(out).substr(start);
    out.resize(start + sjisPrefixLength(text, kListTextBytes));
}

// Folds the single-byte ASCII letters of a Shift-JIS text to lower case, as
// the list compares its texts.
void foldAsciiLetters(char* text, std::size_t size) {
    bool trailByte = false;
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!trailByte && byte >= 'A' && byte <= 'Z') {
            text[i] = static_cast<char>(byte - 'A' + 'a');
        }
        trailByte = !trailByte && isSjisLeadByte(byte);
    }
}

}  // namespace

std::string listText(const OrderStore& store, int storeIndex, int column) {
    std::string text;
    appendListText(text, store, storeIndex, column);
    return text;
}

ExistingDataList::ExistingDataList(const OrderStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {}

void ExistingDataList::fill(const std::string& counterparty) {
    beginResetModel();
    rows_ = store_.rowsOf(counterparty);
    endResetModel();
}

void ExistingDataList::sortBy(int column, SortDirection direction) {
    const std::size_t count = rows_.size();
    // Every key is made once, into one block, with its letters folded:
    // folded keys compared byte by byte order as the list compares texts.
    // The first eight bytes of each key, as one number, settle most
    // comparisons.
    std::string keys;
    keys.reserve(count * 24);
    std::vector<std::uint32_t> ends(count);
    struct Entry {
        std::uint64_t head;
        int row;
    };
    std::vector<Entry> entries(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t start = keys.size();
        appendListText(keys, store_, rows_[i], column);
        foldAsciiLetters(keys.data() + start, keys.size() - start);
        ends[i] = static_cast<std::uint32_t>(keys.size());
        std::uint64_t head = 0;
        for (std::size_t at = 0; at < kHeadBytes; ++at) {
            const std::size_t from = start + at;
            head = head << 8 | (from < keys.size() ? static_cast<unsigned char>(keys[from]) : 0U);
        }
        entries[i] = Entry{head, static_cast<int>(i)};
    }
    const auto key = [&keys, &ends](int i) {
        const std::size_t at = static_cast<std::size_t>(i);
        const std::uint32_t start = at == 0 ? 0 : ends[at - 1];
        return std::string_view(keys).substr(start, ends[at] - start);
    };
    const auto less = [&key](const Entry& x, const Entry& y) {
        if (x.head != y.head) {
            return x.head < y.head;
        }
        const std::string_view a = key(x.row);
        const std::string_view b = key(y.row);
        // Equal heads: a key of eight bytes or fewer is the start of the
        // other, so the shorter one comes first.
        if (a.size() <= kHeadBytes || b.size() <= kHeadBytes) {
            return a.size() < b.size();
        }
        return a.substr(kHeadBytes) < b.substr(kHeadBytes);
    };
    if (direction == kAscending) {
        std::stable_sort(entries.begin(), entries.end(), less);
    } else {
        std::stable_sort(entries.begin(), entries.end(),
                         [&less](const Entry& x, const Entry& y) { return less(y, x); });
    }
    std::vector<int> order(count);
    for (std::size_t i = 0; i < count; ++i) {
        order[i] = entries[i].row;
    }

    emit layoutAboutToBeChanged();
    std::vector<int> newRowOf(count);
    std::vector<int> sorted(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto from = static_cast<std::size_t>(order[i]);
        sorted[i] = rows_[from];
        newRowOf[from] = static_cast<int>(i);
    }
    rows_.swap(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before) {
        after.append(this->index(newRowOf[static_cast<std::size_t>(index.row())], index.column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

void ExistingDataList::removeListRows(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // From the bottom up, one contiguous run at a time.
    std::size_t i = 0;
    while (i < rows.size()) {
        const int last = rows[i];
        int first = last;
        while (i + 1 < rows.size() && rows[i + 1] == first - 1) {
            first = rows[++i];
        }
        ++i;
        beginRemoveRows(QModelIndex(), first, last);
        rows_.erase(rows_.begin() + first, rows_.begin() + last + 1);
        endRemoveRows();
    }
}

int ExistingDataList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ExistingDataList::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kListColumnCount;
}

QVariant ExistingDataList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return QVariant();
    }
    if (role == Qt::DisplayRole) {
        return fromRecordText(listText(store_, storeIndex(index.row()), index.column()));
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(kAlignments[index.column()] | Qt::AlignVCenter);
    }
    return QVariant();
}

QVariant ExistingDataList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kListColumnCount) {
        return QVariant();
    }
    if (role == Qt::DisplayRole) {
        return QString::fromUtf8(kTitles[section]);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(kAlignments[section] | Qt::AlignVCenter);
    }
    return QVariant();
}

}  // namespace belvorine
