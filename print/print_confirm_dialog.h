#pragma once
// "印刷開始確認": the printer and page settings of the current format, and
// the choice between printing what they ask for and printing chosen
// documents only.

#include "widgets/dialog_base.h"

class QCheckBox;
class QRadioButton;

namespace belvorine {

namespace print_confirm {
// Each value's caption takes the id before the value's own.
enum ControlId : int {
    kSettingsBox = 1380,
    kPrinter = 1382,
    kPaper = 1384,
    kOrientation = 1386,
    kSource = 1388,
    kFont = 1390,
    kSummary = 1391,
    kChoiceBox = 1392,
    kFollowsSettings = 1393,
    kPartial = 1394,
    kFirstPage = 1395,  // one check box for each of the three documents
    kQuestion = 1398,
    kPrint = 1399,
    kCancel = 1400,
    kHelp = 1401,
};
}  // namespace print_confirm

class PrintConfirmDialog : public BelvorineDialog {
    Q_OBJECT
public:
    explicit PrintConfirmDialog(QWidget* owner);

    // The summary of what the settings print, as the dialog shows it.
    static QString summaryText(int orderAndCopyOnOneSheet, int makeAcknowledgement);

private:
    void followSettings();
    void choosePages();
    void accept() override;

    QRadioButton* followsSettings_;
    QRadioButton* partial_;
    QCheckBox* pages_[3];
    bool acknowledgement_;
    QString halfSheet_;  // why the copy cannot join the order on this sheet
};

// Runs the dialog; 1 after "印　刷" (the document selection is then set),
// 2 after "印刷中止" or cancel. When the order and its copy share a sheet
// whose half the order does not fit, the dialog says so, and "印　刷"
// refuses a selection with the copy rather than print one over the other.
int runPrintConfirmDialog(QWidget* owner);

}  // namespace belvorine
