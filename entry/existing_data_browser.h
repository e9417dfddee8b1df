#pragma once
// The existing data browser "KISONDLG": the order history's rows of one
// counterparty in a list. In pick mode ("既存データ選択", from the data entry
// dialog) the chosen rows become item lines of the working order; in edit
// mode ("既存データの編集", command 40006) rows are edited, deleted and their
// payment terms changed in bulk, in the store in memory. The caller writes
// the store after OK and reloads it after either ending.

#include <string>

#include "widgets/dialog_base.h"

class QComboBox;
class QPushButton;
class QTableView;

namespace belvorine {

class DataEntryDialog;
class ExistingDataList;

// The counterparty whose rows are listed, in Shift-JIS. It outlives the
// dialogs, so edit mode opens on the counterparty last used; switching the
// format empties it.
std::string& selectedCounterparty();

// The list's sort directions start afresh (tests).
void resetListSortForTesting();

enum class BrowserMode { Pick, Edit };

class ExistingDataBrowser : public BelvorineDialog {
    Q_OBJECT
public:
    ExistingDataBrowser(QWidget* owner, BrowserMode mode);
    ~ExistingDataBrowser() override;

    QTableView* list() const { return view_; }
    ExistingDataList* rows() const { return rows_; }

    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLayout* buildButtons();
    void buildList();
    void fillCombo();
    void refill(bool sorted);
    void sortByColumn(int column);
    void chooseCounterparty(int index);
    void updateButtons();
    std::vector<int> selectedListRows(int limit = -1) const;

    void pick();
    void editRows();
    void deleteRows();
    void changeTerms();

public:
    // The list as it stands (its counterparty, its order) as CSV.
    void exportCsv();

private:
    BrowserMode mode_;
    QComboBox* counterparty_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* bulkChange_ = nullptr;
    QPushButton* export_ = nullptr;
    QTableView* view_ = nullptr;
    ExistingDataList* rows_ = nullptr;
    bool sized_ = false;
};

// Pick mode over the data entry dialog for `counterparty`; adds the picked
// rows to the working order. 1 after OK, 2 after cancel.
int pickExistingData(DataEntryDialog& dialog, const std::string& counterparty);

// Edit mode over the main window. 1 after OK, 2 after cancel.
int editExistingData(QWidget* owner);

}  // namespace belvorine
