#pragma once
// "印刷開始確認": the printer and page settings of the current format, and
// the choice between printing what they ask for and printing chosen
// documents only.

#include "widgets/dialog_base.h"

class QCheckBox;
class QRadioButton;

namespace belvorine {

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
