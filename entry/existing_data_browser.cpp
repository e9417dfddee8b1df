#include "entry/existing_data_browser.h"

#include <algorithm>

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QTableView>
#include <QVBoxLayout>

#include "data/order_store.h"
#include "data/settings_state.h"
#include "entry/data_entry_dialog.h"
#include "entry/data_entry_ids.h"
#include "entry/entry_fields.h"
#include "entry/existing_data_list.h"
#include "entry/existing_data_rows.h"
#include "entry/history_dialog_ids.h"
#include "entry/working_order.h"
#include "widgets/csv_save.h"
#include "widgets/placement.h"
#include "widgets/sjis_input.h"

namespace belvorine {
namespace {

using namespace existing_data;

const std::string& placeholderCounterparty() {
    static const std::string text = toSjisLossy(QStringLiteral("「相手先」"));
    return text;
}

// Column 1 starts ascending, so its first click sorts it descending.
SortDirection initialDirection(int column) {
    return column == 1 ? kAscending : kNeverSorted;
}

SortDirection (&sortDirections())[kListColumnCount] {
    static SortDirection directions[kListColumnCount] = {
        initialDirection(0), initialDirection(1), initialDirection(2), initialDirection(3),
        initialDirection(4), initialDirection(5), initialDirection(6)};
    return directions;
}

// The list: Home and End go to its first and last row, as in a list, not
// along the row to its first and last column.
class RowList : public QTableView {
public:
    using QTableView::QTableView;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        const int rows = model() ? model()->rowCount() : 0;
        if ((action != MoveHome && action != MoveEnd) || rows == 0) {
            return QTableView::moveCursor(action, modifiers);
        }
        const int column = currentIndex().isValid() ? currentIndex().column() : 1;
        return model()->index(action == MoveHome ? 0 : rows - 1, column);
    }
};

}  // namespace

std::string& selectedCounterparty() {
    static std::string name;
    return name;
}

void resetListSortForTesting() {
    for (int column = 0; column < kListColumnCount; ++column) {
        sortDirections()[column] = initialDirection(column);
    }
}

ExistingDataBrowser::ExistingDataBrowser(QWidget* owner, BrowserMode mode)
    : BelvorineDialog(owner, QStringLiteral("ＭＳ ゴシック"), 9), mode_(mode) {
    const bool editing = mode == BrowserMode::Edit;
    setWindowTitle(editing ? QStringLiteral("既存データの編集") : QStringLiteral("既存データ選択"));
    setHelpTopic(editing ? QStringLiteral("::/editdata.html")
                         : QStringLiteral("::/kisondata.html"));
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->addLayout(buildButtons());
    buildList();
    layout->addWidget(view_, 1);
    fillCombo();
    refill(true);
    updateButtons();
}

ExistingDataBrowser::~ExistingDataBrowser() {
    ListDialogSettings& stored = settings().listDialog;
    for (int column = 1; column < kListColumnCount; ++column) {
        stored.columnWidths[column - 1] = view_->horizontalHeader()->sectionSize(column);
    }
}

QLayout* ExistingDataBrowser::buildButtons() {
    auto* rows = new QVBoxLayout;
    auto* top = new QHBoxLayout;
    top->addWidget(makeLabel(QStringLiteral("相 手 先："), kCounterpartyLabel, this));
    counterparty_ = makeTextCombo(kCounterparty, 255, this);
    counterparty_->setMinimumContentsLength(30);
    counterparty_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    top->addWidget(counterparty_, 1);
    addDialogButtons(top, this, kOk);
    rows->addLayout(top);

    auto* second = new QHBoxLayout;
    edit_ = makeButton(QStringLiteral("データ編集"), kEdit, this);
    delete_ = makeButton(QStringLiteral("データ削除"), kDelete, this);
    bulkChange_ = makeButton(QStringLiteral("支払条件一括変更"), kBulkChange, this);
    for (QPushButton* button : {edit_, delete_, bulkChange_}) {
        button->setAutoDefault(false);
        button->setVisible(mode_ == BrowserMode::Edit);
        second->addWidget(button);
    }
    second->addStretch(1);
    export_ = makeButton(QStringLiteral("CSV出力..."), kExport, this);
    export_->setAutoDefault(false);
    second->addWidget(export_);
    rows->addLayout(second);
    connect(export_, &QPushButton::clicked, this, &ExistingDataBrowser::exportCsv);

    connect(edit_, &QPushButton::clicked, this, &ExistingDataBrowser::editRows);
    connect(delete_, &QPushButton::clicked, this, &ExistingDataBrowser::deleteRows);
    connect(bulkChange_, &QPushButton::clicked, this, &ExistingDataBrowser::changeTerms);
    connect(counterparty_, &QComboBox::activated, this, &ExistingDataBrowser::chooseCounterparty);
    return rows;
}

void ExistingDataBrowser::buildList() {
    rows_ = new ExistingDataList(orderStore(), this);
    view_ = new RowList(this);
    setControlId(view_, kList);
    view_->setModel(rows_);
    view_->setShowGrid(true);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setWordWrap(false);
    view_->setCornerButtonEnabled(false);
    view_->verticalHeader()->hide();
    // Fixed row heights keep a long history quick: no row is measured.
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
    QHeaderView* header = view_->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    // Narrow columns keep the widths they were given.
    header->setMinimumSectionSize(0);
    header->setSectionResizeMode(QHeaderView::Interactive);
    view_->setColumnHidden(0, true);
    const ListDialogSettings& stored = settings().listDialog;
    for (int column = 1; column < kListColumnCount; ++column) {
        header->resizeSection(column, std::max(0, stored.columnWidths[column - 1]));
    }
    connect(header, &QHeaderView::sectionClicked, this, [this](int column) {
        SortDirection& direction = sortDirections()[column];
        direction = direction == kAscending ? kDescending : kAscending;
        sortByColumn(column);
    });
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ExistingDataBrowser::updateButtons);
}

void ExistingDataBrowser::fillCombo() {
    const int format = currentFormat();
    for (const CounterpartyEntry& entry : orderStore().counterparties()) {
        if (mode_ == BrowserMode::Edit || entry.formatIndex == format) {
            counterparty_->addItem(fromRecordText(entry.name));
        }
    }
    const QString name = fromRecordText(selectedCounterparty());
    counterparty_->setCurrentIndex(counterparty_->findText(name, Qt::MatchExactly));
    counterparty_->setEditText(name);
}

void ExistingDataBrowser::refill(bool sorted) {
    rows_->fill(selectedCounterparty());
    if (sorted) {
        sortByColumn(1);
    }
    updateButtons();
}

void ExistingDataBrowser::sortByColumn(int column) {
    rows_->sortBy(column, sortDirections()[column]);
}

void ExistingDataBrowser::chooseCounterparty(int index) {
    selectedCounterparty() = toRecordText(counterparty_->itemText(index), 255);
    refill(true);
}

void ExistingDataBrowser::updateButtons() {
    if (mode_ != BrowserMode::Edit) {
        return;
    }
    const bool selected = view_->selectionModel()->hasSelection();
    edit_->setEnabled(selected);
    delete_->setEnabled(selected);
    const std::string& name = selectedCounterparty();
    bulkChange_->setEnabled(!name.empty() && name != placeholderCounterparty());
}

// The selected list rows from top to bottom, whatever order they were
// clicked in; only the first `limit` of them when `limit` is not negative.
// Rows are selected whole, so the selection's ranges give them at once: a
// pick with every row of a long list selected takes its first rows only.
std::vector<int> ExistingDataBrowser::selectedListRows(int limit) const {
    std::vector<int> rows;
    const int lastColumn = rows_->columnCount() - 1;
    for (const QItemSelectionRange& range : view_->selectionModel()->selection()) {
        if (range.left() != 0 || range.right() != lastColumn) {
            // Part of a row: only rows selected in every column count.
            rows.clear();
            for (const QModelIndex& index : view_->selectionModel()->selectedRows()) {
                rows.push_back(index.row());
            }
            break;
        }
        // A row after the first `limit` of its range is never among the
        // first `limit` of all.
        const int bottom =
            limit < 0 ? range.bottom() : std::min(range.bottom(), range.top() + limit - 1);
        for (int row = range.top(); row <= bottom; ++row) {
            rows.push_back(row);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (limit >= 0 && rows.size() > static_cast<std::size_t>(limit)) {
        rows.resize(static_cast<std::size_t>(limit));
    }
    return rows;
}

void ExistingDataBrowser::pick() {
    std::vector<int> storeIndices;
    for (const int row :
         selectedListRows(std::max(kOrderLineCount - workingOrder().lineCount, 0))) {
        storeIndices.push_back(rows_->storeIndex(row));
    }
    pickRows(workingOrder(), orderStore(), storeIndices);
}

void ExistingDataBrowser::exportCsv() {
    QStringList header{QStringLiteral("相手先")};
    for (int column = 1; column < kListColumnCount; ++column) {
        header << rows_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().simplified();
    }
    const QString counterparty = fromRecordText(selectedCounterparty());
    std::vector<QStringList> table;
    table.reserve(static_cast<std::size_t>(rows_->rowCount()));
    for (int row = 0; row < rows_->rowCount(); ++row) {
        QStringList cells{counterparty};
        for (int column = 1; column < kListColumnCount; ++column) {
            cells << fromSjis(listText(orderStore(), rows_->storeIndex(row), column)).trimmed();
        }
        table.push_back(cells);
    }
    saveCsv(this, QStringLiteral("既存データ.csv"), header, table);
}

void ExistingDataBrowser::accept() {
    if (mode_ == BrowserMode::Pick) {
        pick();
    }
    done(1);
}

void ExistingDataBrowser::reject() {
    done(2);
}

void ExistingDataBrowser::showEvent(QShowEvent* event) {
    BelvorineDialog::showEvent(event);
    if (!sized_) {
        // The size is stored and restored as the same measure (the window
        // without its frame), so opening and closing never changes it.
        const ListDialogSettings& stored = settings().listDialog;
        resize(std::max(stored.width, minimumSizeHint().width()),
               std::max(stored.height, minimumSizeHint().height()));
        centreDialog(this);
        sized_ = true;
    }
}

void ExistingDataBrowser::resizeEvent(QResizeEvent* event) {
    BelvorineDialog::resizeEvent(event);
    if (sized_ && !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))) {
        ListDialogSettings& stored = settings().listDialog;
        stored.width = event->size().width();
        stored.height = event->size().height();
        stored.showState = 9;
    }
}

int pickExistingData(DataEntryDialog& dialog, const std::string& counterparty) {
    selectedCounterparty() = counterparty;
    ExistingDataBrowser browser(&dialog, BrowserMode::Pick);
    return browser.exec() == 1 ? 1 : 2;
}

int editExistingData(QWidget* owner) {
    ExistingDataBrowser browser(owner, BrowserMode::Edit);
    return browser.exec() == 1 ? 1 : 2;
}

}  // namespace belvorine
