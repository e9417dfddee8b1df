#pragma once
// The search dialog's list: the documents a search found, fetched from the
// register a page at a time as the list is scrolled, so a search over a
// long register answers at once.

#include <vector>

#include <QAbstractTableModel>

#include "archive/order_register.h"

namespace belvorine {

class RegisterRowsModel : public QAbstractTableModel {
public:
    enum Column {
        kDate,
        kCounterparty,
        kTotal,
        kFormat,
        kApprovalNo,
        kPages,
        kState,
        kFileName,
        kIssuedAt,
        kUser,
        kColumnCount
    };

    explicit RegisterRowsModel(QObject* parent = nullptr);

    // Searches `reg` (kept for the following pages): the count and total,
    // and the first page. Returns false with `error` set; the list is
    // empty then.
    bool search(OrderRegister& reg, const SearchCriteria& criteria, QString& error);
    // Empties the list.
    void clear();

    const SearchSummary& summary() const { return summary_; }
    const RegisterRow& row(int index) const { return rows_[static_cast<std::size_t>(index)]; }
    // Every document the search found (for CSV), not only those fetched.
    bool allRows(std::vector<RegisterRow>& rows, QString& error) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    OrderRegister* register_ = nullptr;
    SearchCriteria criteria_;
    SearchSummary summary_;
    std::vector<RegisterRow> rows_;
    bool complete_ = true;
};

// "1,234,567" of an amount in yen.
QString groupedYen(long long amount);

}  // namespace belvorine
