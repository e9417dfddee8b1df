#pragma once
// "電子取引の検索": the register's issued documents found by order date
// (from–to), amount (from–to) and counterparty (part of the name), in any
// combination, sorted by date with their count and total; the selected
// document opened in the desktop's viewer, voided with a reason; the
// archive verified; the results exported as CSV.

#include <memory>

#include "widgets/dialog_base.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace belvorine {

class OrderRegister;
class RegisterRowsModel;
struct SearchCriteria;

class ArchiveSearchDialog : public BelvorineDialog {
    Q_OBJECT
public:
    explicit ArchiveSearchDialog(QWidget* owner);
    ~ArchiveSearchDialog() override;

    QTableView* list() const { return view_; }
    RegisterRowsModel* rows() const { return rows_; }

    // The buttons' work, callable from tests.
    void search();
    void openSelected();
    void voidSelected();
    void verify();
    void exportCsv();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLayout* buildConditions();
    QLayout* buildButtons();
    SearchCriteria criteria() const;
    int selectedRow() const;
    void updateButtons();

    std::unique_ptr<OrderRegister> register_;
    QCheckBox* dateFromCheck_ = nullptr;
    QDateEdit* dateFrom_ = nullptr;
    QCheckBox* dateToCheck_ = nullptr;
    QDateEdit* dateTo_ = nullptr;
    QLineEdit* amountFrom_ = nullptr;
    QLineEdit* amountTo_ = nullptr;
    QLineEdit* counterparty_ = nullptr;
    QLabel* summary_ = nullptr;
    QTableView* view_ = nullptr;
    RegisterRowsModel* rows_ = nullptr;
    QPushButton* open_ = nullptr;
    QPushButton* void_ = nullptr;
    bool sized_ = false;
};

// Runs the dialog over `owner`.
void runArchiveSearchDialog(QWidget* owner);

}  // namespace belvorine
