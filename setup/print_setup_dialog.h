#pragma once
// "印刷設定": the printer, paper, paper source, orientation and margins of
// the current format, edited on a copy of its printer settings. Every
// change of printer, paper or orientation re-runs the printer check on the
// copy and on a page geometry of the dialog's own, so the margins' limits
// follow the printer and the paper while the format's live geometry stays
// as it was until OK. A line under the margins tells, before OK, what the
// choice does to the printed page: a paper the new printer does not offer,
// frames drawn moved into the margins, an order and copy that do not fit
// half a sheet.

#include <map>
#include <vector>

#include "form/page_geometry.h"
#include "platform/printers/paper_lists.h"
#include "records/records.h"
#include "widgets/dialog_base.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace belvorine {

class UpDownControl;

// Margin text in millimetres ("%5.2f" of hundredths, exactly).
QString millimetreText(int hundredths);

// A typed margin as hundredths of a millimetre: the leading decimal number
// of the text (blanks before it and a sign allowed), its digits past the
// second decimal dropped, read as decimal text so that "4.1" is 410. A text
// without a number is 0.
long long typedHundredths(const QString& text);

// True when a stored paper or source name denotes a driver's entry: both
// cut at their first " (", the rest of equal length and equal apart from
// the case of ASCII letters ("A4 (210 x 297 mm)" is "A4").
bool samePaperName(const QString& entry, std::string_view storedSjis);

namespace print_setup {
enum ControlId : int {
    kPrinterCaption = 1330,
    kPrinters = 1331,
    kPaperBox = 1332,
    kPaperCaption = 1333,
    kPapers = 1334,
    kSourceCaption = 1335,
    kSources = 1336,
    kOrientationBox = 1337,
    kPortrait = 1338,
    kLandscape = 1339,
    kMarginBox = 1340,
    kFirstMargin = 1341,  // left, right, top, bottom: kMarginControls ids each
    kOk = 1361,           // then ｷｬﾝｾﾙ and ヘルプ
};
// A margin's controls, counted from its first id.
enum MarginControl : int {
    kMarginCaption = 0,
    kMarginMillimetres = 1,
    kMarginHundredths = 2,  // hidden; the up-down control steps it
    kMarginUpDown = 3,
    kMarginRange = 4,
    kMarginControls = 5,
};
}  // namespace print_setup

class PrintSetupDialog : public BelvorineDialog {
    Q_OBJECT
public:
    PrintSetupDialog(QWidget* owner, int format);

    const PageSettings& workingCopy() const { return work_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct MarginRow {
        Margin PageSettings::*margin;
        QLineEdit* millimetres;
        QLineEdit* hundredths;  // hidden; the up-down control steps it
        UpDownControl* upDown;
        QLabel* range;
    };
    struct PrinterLists {
        std::vector<PaperEntry> papers;
        std::vector<SourceEntry> sources;
    };

    QWidget* buildPaperBox();
    QWidget* buildOrientationBox();
    QWidget* buildMarginBox();
    const PrinterLists& listsOf(int printerIndex);
    void fillPaperLists();
    void showMargins();
    void showMargin(MarginRow& row);
    void takeHundredths(MarginRow& row);
    void takeTypedMargin(MarginRow& row);
    void runPrinterCheck();
    void keepOfferedPaper();
    void showNotice();
    void choosePrinter(int index);
    void choosePaper(int index);
    void chooseSource(int index);
    void chooseOrientation(int orientation);
    void accept() override;

    int format_;
    PageSettings work_;
    PageGeometry geometry_;  // what the checks fill; never the live one
    std::map<int, PrinterLists> lists_;
    QComboBox* printers_;
    QComboBox* papers_;
    QComboBox* sources_;
    QRadioButton* portrait_;
    QRadioButton* landscape_;
    std::vector<MarginRow> margins_;
    QLabel* notice_ = nullptr;  // what the user should know before OK
    QString paperNotice_;       // the paper or source the last printer change replaced
    // The paper and source the user last chose (or the record held): a
    // printer that offers them gets them back, whatever printers were
    // passed on the way to it.
    PaperEntry chosenPaper_;
    SourceEntry chosenSource_;
    bool printerChosen_ = false;  // the user picked a printer, maybe the same
};

// Runs the dialog for the current format: 1 after OK (the format's printer
// settings and geometry are the dialog's and both formats' live layouts are
// prepared again), 2 after cancel (nothing changed).
int runPrintSetupDialog(QWidget* owner);

}  // namespace belvorine
