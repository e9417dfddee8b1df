#pragma once
// The data entry dialog "データ入力": the order date, the counterparty, the
// payment terms, the approval number and the five item lines of the current
// order. It works on the WorkingOrder and writes the current order on OK
// (and at once on "データクリア").

#include <array>
#include <functional>
#include <string>
#include <utility>

#include "entry/entry_fields.h"
#include "widgets/dialog_base.h"

class QButtonGroup;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace belvorine {

class DateDropButton;
struct OrderLine;

class DataEntryDialog : public BelvorineDialog {
    Q_OBJECT
public:
    explicit DataEntryDialog(QWidget* owner);

    // For the partial delivery dialog and the existing data browser, after
    // they changed the working order:
    // shows every line of the working order and the remembered approval
    // number in their controls;
    void refillLines();
    // recomputes the amount of line `slot` (0 to 4) from its quantity and
    // unit price;
    void recomputeAmount(int slot);
    // shows the working order's payment terms.
    void refreshPayment();

    // Takes what the line controls show into the working order, as leaving
    // each field would. Done before another dialog works on the lines.
    void storeLineControls();

    // The line (1 to 4) whose "分納" button was pressed last, 0 before.
    int lineToSplit() const { return lineToSplit_; }

    // Cancel, Esc and the close box end the dialog with result 2.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct LineControls {
        QPlainTextEdit* name = nullptr;
        QLineEdit* quantity = nullptr;
        QComboBox* unit = nullptr;
        QLineEdit* unitPrice = nullptr;
        QLineEdit* amount = nullptr;
        QPlainTextEdit* date = nullptr;
        DateDropButton* picker = nullptr;
        QPlainTextEdit* place = nullptr;
        QPushButton* split = nullptr;
    };

    // Building the controls (data_entry_layout.cpp).
    QLayout* buildHeader();
    QLayout* buildCounterparty();
    QLayout* buildPayment();
    QGroupBox* buildLines();
    void buildLine(QGridLayout* grid, int slot);
    QLayout* buildButtons();
    void applyColours();
    void showNoteDaysEditable(bool editable);

    // Opening.
    void fillLists();
    void showHeader();

    // The fields' behaviour (data_entry_lines.cpp).
    void connectFields();
    void refillLine(int slot);
    void nameChanged(int slot);
    void datesAndPlacesChanged();
    void storeHeaderControls();
    void takePayment();
    void paymentClicked(int kind);
    void pickDeliveryDate(int slot, const QDate& date);
    // The number fields of line `slot` with the way their record keeps them.
    std::array<std::pair<QLineEdit*, NumberField>, 3> numberFields(int slot) const;
    bool numberFocusIn(QObject* watched);
    bool numberFocusOut(QObject* watched);
    void deriveUnitPrice(int slot);

    // The buttons (data_entry_dialog.cpp, data_entry_commit.cpp).
    void connectButtons();
    void pickExistingData();
    void splitLine(int slot);
    void clearData();
    void commit();
    void afterLinesChanged();

    LineControls lines_[5];
    QLabel* formatName_ = nullptr;
    QLineEdit* year_ = nullptr;
    QLineEdit* month_ = nullptr;
    QLineEdit* day_ = nullptr;
    QComboBox* counterparty_ = nullptr;
    QButtonGroup* payment_ = nullptr;
    QLineEdit* noteDays_ = nullptr;
    QLabel* approvalLabel_ = nullptr;
    QLineEdit* approval_ = nullptr;
    bool refilling_ = false;
    int lineToSplit_ = 0;
};

// Runs the dialog over `owner`: 1 after OK, 2 after cancel.
int runDataEntryDialog(QWidget* owner);

// The help topic of the dialog's help button for the current format.
QString dataEntryHelpTopic();

// The dialogs that plug into this one. The partial delivery dialog gets the
// line (1 to 4) to split, the existing data browser the counterparty to
// pick from (Shift-JIS). Each works on the working order and returns 1 when
// it changed the lines; the data entry dialog then shows the lines again,
// recomputes the amounts and the line count (and the browser's payment
// terms). Without a hook the button does nothing more.
using PartialDeliveryHook = std::function<int(DataEntryDialog& dialog, int line)>;
using ExistingDataHook =
    std::function<int(DataEntryDialog& dialog, const std::string& counterparty)>;
void setPartialDeliveryHook(PartialDeliveryHook hook);
void setExistingDataHook(ExistingDataHook hook);

}  // namespace belvorine
