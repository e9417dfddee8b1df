#pragma once
// The zoom dialog "拡大／縮小": the preview's zoom chosen from 40 to 200 %
// in steps of 20, with a button each way.

#include "widgets/dialog_base.h"

class QComboBox;
class QPushButton;

namespace belvorine {

enum ZoomDialogIds : int {
    kZoomList = 1470,
    kZoomOutButton = 1471,
    kZoomInButton = 1472,
    kZoomOk = 1473,
    kZoomCancel = 1474,
};

class ZoomDialog : public BelvorineDialog {
    Q_OBJECT
public:
    explicit ZoomDialog(QWidget* owner);

    // The value that OK would store.
    int workingValue() const { return working_; }

private:
    void step(int delta);
    void choose(int index);
    void showWorkingValue();
    void accept() override;

    QComboBox* list_;
    QPushButton* zoomOut_;
    QPushButton* zoomIn_;
    int working_ = 100;
};

// Runs the dialog modally over `owner`; on OK the stored zoom is changed
// and 1 is returned, otherwise 2 and nothing changes.
int runZoomDialog(QWidget* owner);

}  // namespace belvorine
