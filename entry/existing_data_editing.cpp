// The edit mode's buttons of the existing data browser: the row editor for
// each chosen row, the deletion of the chosen rows and the bulk change of
// the counterparty's payment terms. All of them change the store in memory
// only; the main window writes it after OK.

#include <QTableView>

#include "data/order_file_format.h"
#include "data/order_store.h"
#include "entry/bulk_payment_dialog.h"
#include "entry/existing_data_browser.h"
#include "entry/existing_data_list.h"
#include "entry/row_editor_dialog.h"
#include "widgets/message_box.h"

namespace belvorine {

void ExistingDataBrowser::editRows() {
    const std::vector<int> rows = selectedListRows();
    if (rows.empty()) {
        showWarning(this, QStringLiteral("確認"),
                    QStringLiteral("編集するデータを指定して下さい！！"));
        return;
    }
    std::vector<int> storeIndices;
    for (const int row : rows) {
        storeIndices.push_back(rows_->storeIndex(row));
    }
    for (const int index : storeIndices) {
        runRowEditor(this, orderStore(), index);
    }
    // Edited rows stand in store order, not sorted again.
    refill(false);
}

void ExistingDataBrowser::deleteRows() {
    const std::vector<int> rows = selectedListRows();
    if (rows.empty()) {
        showWarning(this, QStringLiteral("確認"),
                    QStringLiteral("削除するデータを指定して下さい！！"));
        return;
    }
    const int answer = showMessage({this, QStringLiteral("データ削除確認"),
                                    QStringLiteral("削除してよろしいですか？"),
                                    MessageIcon::Question, MessageButtons::YesNo});
    if (answer != kResultYes) {
        return;
    }
    for (const int row : rows) {
        orderStore().emptyRow(rows_->storeIndex(row));
    }
    rows_->removeListRows(rows);
    updateButtons();
}

void ExistingDataBrowser::changeTerms() {
    // The first listed row gives the starting terms; an empty list starts
    // with a note without days.
    const std::string start =
        rows_->rowCount() > 0
            ? std::string(orderStore().field(rows_->storeIndex(0), kStorePaymentText))
            : std::string();
    if (runBulkPaymentChange(this, orderStore(), selectedCounterparty(), start) == 1) {
        refill(false);
    }
}

}  // namespace belvorine
