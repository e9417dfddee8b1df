#pragma once
// The item property dialog "項目の変更": one frame of the current format's
// layout edited by number, in one of four forms chosen by the frame's group
// (titles, payment sentences, their second lines, any other frame): its
// text, position and size in millimetres, alignment, size rule, point size,
// weight and underline. It works on a copy; only OK writes back, and only
// the frame or its group.

#include <functional>

#include "records/records.h"
#include "widgets/dialog_base.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;

namespace belvorine {

class UpDownControl;

namespace item_property {
enum ControlId : int {
    kContent = 1410,
    kText1Label = 1411,
    kText1 = 1412,
    kText2Label = 1413,
    kText2 = 1414,
    kText3Label = 1415,
    kText3 = 1416,
    kTitle1Label = 1417,
    kTitle1 = 1418,
    kTitle2Label = 1419,
    kTitle2 = 1420,
    kTitle3Label = 1421,
    kTitle3 = 1422,
    kMessage = 1423,
    kPositionGroup = 1424,
    kXLabel = 1425,
    kX = 1426,
    kXUpDown = 1427,
    kYLabel = 1428,
    kY = 1429,
    kYUpDown = 1430,
    kPaperOrigin = 1431,
    kPaperLine = 1432,
    kSizeGroup = 1433,
    kWidthLabel = 1434,
    kWidth = 1435,
    kWidthUpDown = 1436,
    kHeightLabel = 1437,
    kHeight = 1438,
    kHeightUpDown = 1439,
    kTextGroup = 1440,
    kAlignmentLabel = 1441,
    kAlignLeftButton = 1442,
    kAlignCentreButton = 1443,
    kAlignRightButton = 1444,
    kRuleGroup = 1445,
    kFixedButton = 1446,
    kFitWidthButton = 1447,
    kFitHeightButton = 1448,
    kPointSize = 1449,
    kWeightGroup = 1450,
    kNormalButton = 1451,
    kBoldButton = 1452,
    kHeavyButton = 1453,
    kUnderline = 1454,
    kOk = 1455,
    kCancel = 1456,
    kHelpOther = 1457,  // the help button of each form: 1457 to 1460
};
}  // namespace item_property

class ItemPropertyDialog : public BelvorineDialog {
    Q_OBJECT
public:
    // The four forms of the dialog, numbered as their help topics.
    enum class Form { Other = 1, Titles = 2, Payment = 3, Proviso = 4 };

    // `itemIndex` (1 to 29) is the frame the user selected.
    ItemPropertyDialog(QWidget* owner, int itemIndex);

    // The item the dialog works on: the first of a group, else the one
    // selected.
    int workItem() const { return item_; }
    // The dialog's copy of the layout; after OK the edited frame or group
    // in it is ready to be written back.
    const FormLayout& editedLayout() const { return layout_; }

    // OK and Enter: reads every field as typed, checks that the text fits
    // its frame (asking to enlarge it), ends with 1. A refused value keeps
    // the dialog open.
    void accept() override;
    // Cancel, Esc and the close box: ends with 2.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum Number { kNumberX, kNumberY, kNumberWidth, kNumberHeight, kNumberCount };

    // Building the controls (item_property_layout.cpp).
    QGroupBox* buildContent();
    QLayout* buildFrameGroups();
    QGroupBox* buildTextGroup();
    QLayout* buildButtons();
    void connectControls();

    // The behaviour (item_property_dialog.cpp).
    void refresh();
    void takeTexts();
    void showContent();
    void limitNumber(int number, int minimum, int maximum);
    void showNumbers();
    void showTextSettings();
    LayoutItem asMember(int member) const;
    bool fitsText(LayoutItem& item) const;
    bool readNumbers(int (&values)[kNumberCount], bool warnAtOnce);
    bool readPointSize(int& size, bool warnAtOnce);
    void setFrame(const int (&values)[kNumberCount]);
    void numberLeft();
    void pointSizeChosen();
    void refuse(QWidget* field, const QString& text, bool warnAtOnce);

    int format_ = 0;
    int item_ = 1;
    Form form_ = Form::Other;
    FormLayout layout_;
    int values_[kNumberCount] = {};  // x, y, width, height as shown
    int minimum_[kNumberCount] = {};
    int maximum_[kNumberCount] = {};
    QString shown_[kNumberCount];
    bool refreshing_ = false;

    QLineEdit* texts_[3] = {};
    QLabel* titles_[3] = {};
    QLabel* message_ = nullptr;
    QLineEdit* numbers_[kNumberCount] = {};
    UpDownControl* upDowns_[kNumberCount] = {};
    QLabel* paperLine_ = nullptr;
    QButtonGroup* alignment_ = nullptr;
    QButtonGroup* rule_ = nullptr;
    QButtonGroup* weight_ = nullptr;
    QComboBox* pointSize_ = nullptr;
    QCheckBox* underline_ = nullptr;
};

// Runs the dialog for item `itemIndex` of the current format's live layout.
// On OK, and only then, calls `beforeWrite` (where the caller keeps the
// frame's state for undo, which also marks the format's layout as changed)
// and writes back the edited frame or group; returns true. Cancel changes
// nothing and returns false, as does an index that names no selectable
// frame.
bool runItemPropertyDialog(QWidget* parent, int itemIndex,
                           const std::function<void()>& beforeWrite);

}  // namespace belvorine
