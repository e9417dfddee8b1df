#pragma once
// The company profile dialog "初期データ入力": the issuing company's name,
// department, postal code, address, telephone and fax, printed on every
// form. They are the texts of items 5 to 10 of the layouts; "登　録" writes
// them into both formats and sizes each of their frames to its text.

#include "widgets/dialog_base.h"

class QLineEdit;

namespace belvorine {

namespace company_profile {
enum ControlId : int {
    kNameLabel = 1200,
    kName = 1201,
    kDepartment = 1203,
    kPostalCode = 1205,
    kAddress = 1207,
    kTelephone = 1209,
    kFax = 1211,
    kRegister = 1212,
    kCancel = 1213,
    kHelp = 1214,
};
}  // namespace company_profile

class CompanyProfileDialog : public BelvorineDialog {
    Q_OBJECT
public:
    explicit CompanyProfileDialog(QWidget* owner);

    // "登　録" (and Enter): writes the profile, ends with 1.
    void accept() override;
    // "取　消", Esc and the close box: ends with 2, nothing changed.
    void reject() override;

private:
    QLineEdit* edits_[6] = {};
};

// Runs the dialog over `owner`: 1 after "登　録", 2 otherwise. The caller
// prepares the layouts of both formats and redraws afterwards.
int runCompanyProfileDialog(QWidget* owner);

}  // namespace belvorine
