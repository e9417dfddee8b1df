#pragma once
// The rows of the existing data browser: the order history's rows of one
// counterparty as a seven-column list, sorted by comparing the texts as
// Shift-JIS bytes. The list keeps only store indices; the texts are made
// from the store when they are shown or sorted, so a long history costs
// little memory.

#include <string>
#include <string_view>
#include <vector>

#include <QAbstractTableModel>

namespace belvorine {

class OrderStore;

inline constexpr int kListColumnCount = 7;

// Sort directions of a list column.
enum SortDirection : int { kNeverSorted = 0, kAscending = 1, kDescending = 2 };

// The text of list column `column` (0 to 6) for store row `storeIndex`, in
// Shift-JIS: the index "%05d", the name, the payment terms ("手形 %4s 日"
// for a note), the quantity with its unit, the unit price, the delivery
// place and the name of the row's format.
std::string listText(const OrderStore& store, int storeIndex, int column);

class ExistingDataList : public QAbstractTableModel {
public:
    explicit ExistingDataList(const OrderStore& store, QObject* parent = nullptr);

    // Every row of the store whose counterparty equals `counterparty` byte
    // for byte, in store order.
    void fill(const std::string& counterparty);
    // Sorts by column `column` (0 to 6): the texts (at most 255 bytes)
    // compared byte by byte, unsigned, with only single-byte ASCII letters
    // folded to lower case (the bytes of a double-byte character never are);
    // rows with equal texts keep their order. Items keep their selection.
    void sortBy(int column, SortDirection direction);
    // Removes list rows (not store rows).
    void removeListRows(std::vector<int> rows);

    int storeIndex(int row) const { return rows_[static_cast<std::size_t>(row)]; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const OrderStore& store_;
    std::vector<int> rows_;  // store indices in list order
};

}  // namespace belvorine
