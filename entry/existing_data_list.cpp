#include "entry/existing_data_list.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "data/order_file_format.h"
#include "data/order_store.h"
#include "data/settings_state.h"
#include "entry/working_order.h"
#include "platform/sjis_text.h"
#include "widgets/sjis_input.h"

namespace belvorine {
namespace {

constexpr std::size_t kListTextBytes = 255;

const char* const kTitles[kListColumnCount] = {"",         "   品  名", "支払条件", "数  量  ",
                                               "単  価  ", "納品場所",  "書式名"};
const Qt::Alignment kAlignments[kListColumnCount] = {
    Qt::AlignLeft,  Qt::AlignLeft,    Qt::AlignLeft,   Qt::AlignRight,
    Qt::AlignRight, Qt::AlignHCenter, Qt::AlignHCenter};

std::string joined(std::string_view first, std::string_view second) {
    std::string text(first);
    text.append(second);
    return text;
}

std::string paymentColumn(std::string_view payment) {
    if (payment.empty() || paymentKindOf(payment) != kPaymentNote) {
        return std::string(payment);
    }
    static const std::string note = toSjisLossy(QStringLiteral("手形 "));
    static const std::string days = toSjisLossy(QStringLiteral(" 日"));
    std::string text = note;
    if (payment.size() < 4) {
        text.append(4 - payment.size(), ' ');
    }
    text.append(payment);
    text.append(days);
    return text;
}

unsigned char folded(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

}  // namespace

std::string listText(const OrderStore& store, int storeIndex, int column) {
    std::string text;
    switch (column) {
        case 0: {
            char number[16];
            std::snprintf(number, sizeof number, "%05d", storeIndex);
            text = number;
            break;
        }
        case 1:
            text = joined(store.field(storeIndex, kStoreNameLine1),
                          store.field(storeIndex, kStoreNameLine2));
            break;
        case 2:
            text = paymentColumn(store.field(storeIndex, kStorePaymentText));
            break;
        case 3:
            text = joined(store.field(storeIndex, kStoreQuantity),
                          store.field(storeIndex, kStoreUnit));
            break;
        case 4:
            text = store.field(storeIndex, kStoreUnitPrice);
            break;
        case 5:
            text = joined(store.field(storeIndex, kStorePlaceLine1),
                          store.field(storeIndex, kStorePlaceLine2));
            break;
        case 6: {
            const int format = store.field(storeIndex, kStoreFormatIndex) == "0" ? 0 : 1;
            text = sjisView(printerSettings(format).formatName);
            break;
        }
        default:
            break;
    }
    text.resize(sjisPrefixLength(text, kListTextBytes));
    return text;
}

int compareListTexts(std::string_view a, std::string_view b) {
    a = a.substr(0, kListTextBytes);
    b = b.substr(0, kListTextBytes);
    const std::size_t common = std::min(a.size(), b.size());
    bool trailByte = false;
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        const unsigned char fx = trailByte ? x : folded(x);
        const unsigned char fy = trailByte ? y : folded(y);
        if (fx != fy) {
            return fx < fy ? -1 : 1;
        }
        // Equal bytes so far: both texts stand at the same character boundary.
        trailByte = !trailByte && isSjisLeadByte(x);
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

ExistingDataList::ExistingDataList(const OrderStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {}

void ExistingDataList::fill(const std::string& counterparty) {
    beginResetModel();
    rows_.clear();
    for (int row = 0; row < store_.rowCount(); ++row) {
        if (!store_.isEmptyRow(row) && store_.field(row, kStoreCounterparty) == counterparty) {
            rows_.push_back(row);
        }
    }
    endResetModel();
}

void ExistingDataList::sortBy(int column, SortDirection direction) {
    const std::size_t count = rows_.size();
    std::vector<std::string> keys(count);
    for (std::size_t i = 0; i < count; ++i) {
        keys[i] = listText(store_, rows_[i], column);
    }
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    const bool ascending = direction == kAscending;
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
        const int result =
            compareListTexts(keys[static_cast<std::size_t>(x)], keys[static_cast<std::size_t>(y)]);
        return ascending ? result < 0 : result > 0;
    });

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
