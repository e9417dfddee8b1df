#include "archive_search/register_rows_model.h"

#include <QBrush>
#include <QPalette>

#include "archive/csv_export.h"
#include "form/amount_format.h"

namespace belvorine {
namespace {

constexpr int kPageRows = 200;

}  // namespace

QString groupedYen(long long amount) {
    return QString::fromLatin1(groupThousands(std::to_string(amount)));
}

RegisterRowsModel::RegisterRowsModel(QObject* parent) : QAbstractTableModel(parent) {}

bool RegisterRowsModel::search(OrderRegister& reg, const SearchCriteria& criteria,
                               QString& error) {
    beginResetModel();
    register_ = &reg;
    criteria_ = criteria;
    rows_.clear();
    summary_ = SearchSummary();
    const bool found = reg.summarise(criteria, summary_) && reg.fetch(criteria, nullptr, kPageRows, rows_);
    if (!found) {
        error = reg.error();
        rows_.clear();
        summary_ = SearchSummary();
    }
    complete_ = !found || static_cast<int>(rows_.size()) < kPageRows;
    endResetModel();
    return found;
}

void RegisterRowsModel::clear() {
    beginResetModel();
    rows_.clear();
    summary_ = SearchSummary();
    complete_ = true;
    register_ = nullptr;
    endResetModel();
}

bool RegisterRowsModel::allRows(std::vector<RegisterRow>& rows, QString& error) const {
    rows.clear();
    if (!register_) {
        return true;
    }
    if (!register_->fetch(criteria_, nullptr, 0, rows)) {
        error = register_->error();
        return false;
    }
    return true;
}

int RegisterRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RegisterRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

bool RegisterRowsModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && !complete_;
}

void RegisterRowsModel::fetchMore(const QModelIndex& parent) {
    if (parent.isValid() || complete_ || !register_ || rows_.empty()) {
        return;
    }
    std::vector<RegisterRow> page;
    if (!register_->fetch(criteria_, &rows_.back(), kPageRows, page)) {
        complete_ = true;
        return;
    }
    complete_ = static_cast<int>(page.size()) < kPageRows;
    if (page.empty()) {
        return;
    }
    const int first = static_cast<int>(rows_.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(page.size()) - 1);
    for (RegisterRow& row : page) {
        rows_.push_back(std::move(row));
    }
    endInsertRows();
}

QVariant RegisterRowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return QVariant();
    }
    const RegisterRow& row = rows_[static_cast<std::size_t>(index.row())];
    const RegisterEntry& e = row.entry;
    if (role == Qt::ForegroundRole && row.voidedBy) {
        return QBrush(QPalette().color(QPalette::Disabled, QPalette::Text));
    }
    if (role == Qt::TextAlignmentRole) {
        const bool number = index.column() == kTotal || index.column() == kPages;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole) {
        return QVariant();
    }
    switch (index.column()) {
        case kDate:
            return displayDate(e.orderDate);
        case kCounterparty:
            return e.counterparty;
        case kTotal:
            return groupedYen(e.total);
        case kFormat:
            return e.formatName;
        case kApprovalNo:
            return e.approvalNo;
        case kPages:
            return e.pages;
        case kState:
            return row.voidedBy ? QStringLiteral("取消：") + row.voidedBy->reason
                                : QStringLiteral("有効");
        case kFileName:
            return e.fileName;
        case kIssuedAt:
            return e.issuedAt;
        case kUser:
            return e.userName;
        default:
            return QVariant();
    }
}

QVariant RegisterRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QVariant();
    }
    static const char* const titles[kColumnCount] = {"取引年月日", "取引先", "取引金額",
                                                     "書式",       "決裁No.", "頁",
                                                     "状態",       "ファイル名", "発行日時",
                                                     "発行者"};
    return section >= 0 && section < kColumnCount ? QString::fromUtf8(titles[section]) : QVariant();
}

}  // namespace belvorine
