#pragma once
// "ページ設定": the current format's name, its four page options and the
// fonts it uses on the screen and on paper, edited on copies of its display
// and printer settings.

#include <vector>

#include "platform/font_list.h"
#include "records/records.h"
#include "widgets/dialog_base.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace belvorine {

namespace page_setup {
enum ControlId : int {
    kNameCaption = 1300,
    kName = 1301,
    kAcknowledgement = 1302,
    kOneSheet = 1303,
    kShowTotal = 1304,
    kApprovalOnCopy = 1305,
    kDifferentFonts = 1306,
    kScreenFontRow = 1307,  // caption, arrow, sample box, sample, list
    kPrintFontRow = 1312,   // the same five
    kOk = 1317,             // then ｷｬﾝｾﾙ and ヘルプ
};
}  // namespace page_setup

class PageSetupDialog : public BelvorineDialog {
    Q_OBJECT
public:
    PageSetupDialog(QWidget* owner, int format);

    const PageSettings& screenCopy() const { return screen_; }
    const PageSettings& printCopy() const { return print_; }

private:
    QWidget* buildFontRow(const QString& caption, int firstId, QComboBox*& list, QLabel*& sample);
    void showSample(QLabel* sample, const LogFont& font);
    void applyFace(LogFont& font) const;
    void followScreenFont();
    void chooseScreenFont(int index);
    void choosePrintFont(int index);
    void setDifferentFonts(bool different);
    void setOneSheet(bool oneSheet);
    void accept() override;

    int format_;
    PageSettings screen_;
    PageSettings print_;
    std::vector<FontFace> faces_;  // sorted by name; both lists show them
    QLineEdit* name_;
    QCheckBox* acknowledgement_;
    QCheckBox* oneSheet_;
    QCheckBox* showTotal_;
    QCheckBox* approvalOnCopy_;
    QCheckBox* differentFonts_;
    QComboBox* screenFonts_;
    QComboBox* printFonts_;
    QLabel* screenSample_;
    QLabel* printSample_;
};

// Runs the dialog for the current format: 1 after OK (the format's display
// and printer settings are the dialog's), 2 after cancel. The caller
// rebuilds the main window's caption in both cases.
int runPageSetupDialog(QWidget* owner);

}  // namespace belvorine
