#pragma once
// "印刷実行 --- ベルヴォリン Ver.4": the modeless dialog that shows a print
// job's progress and lets the user abort it.

#include "widgets/dialog_base.h"

class QProgressBar;

namespace belvorine {

namespace print_progress {
enum ControlId : int {
    kBar = 1405,
};
}  // namespace print_progress

class PrintProgressDialog : public BelvorineDialog {
    Q_OBJECT
public:
    explicit PrintProgressDialog(QWidget* owner);

    void setProgress(int page);
    int progress() const;
    bool aborted() const { return aborted_; }

signals:
    // "印刷中止" was pressed.
    void abortRequested();

protected:
    void reject() override;

private:
    QProgressBar* bar_;
    bool aborted_ = false;
};

}  // namespace belvorine
