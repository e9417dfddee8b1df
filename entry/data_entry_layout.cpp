// Building the controls of the data entry dialog: the order date, the
// counterparty, the payment terms, the five item lines and the buttons.

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "data/order_record.h"
#include "data/settings_state.h"
#include "entry/data_entry_dialog.h"
#include "entry/data_entry_ids.h"
#include "entry/date_drop_button.h"
#include "entry/entry_fields.h"
#include "entry/working_order.h"
#include "widgets/sjis_input.h"
#include "widgets/up_down_control.h"

namespace belvorine {
namespace {

using namespace data_entry;

const QColor kStaticColour(200, 200, 180);
const QColor kFormatColours[] = {QColor(255, 255, 200), QColor(255, 0, 0)};

QLineEdit* numberEdit(int id, int maxBytes, bool digitsOnly, int columns, QWidget* parent) {
    QLineEdit* edit = makeNumberEdit(id, maxBytes, digitsOnly, parent);
    edit->setFixedWidth(columnsWidth(edit, columns + 2));
    return edit;
}

QComboBox* textCombo(int id, int maxBytes, int columns, QWidget* parent) {
    QComboBox* combo = makeTextCombo(id, maxBytes, parent);
    combo->setMinimumContentsLength(columns);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return combo;
}

QPushButton* button(const QString& text, int id, QWidget* parent) {
    QPushButton* widget = makeButton(text, id, parent);
    // Enter never presses a button of this dialog.
    widget->setAutoDefault(false);
    widget->setDefault(false);
    return widget;
}

// An edit for a part of the date with its wrapping up-down control.
void addDatePart(QHBoxLayout* row, QLineEdit* edit, int upDownId, int minimum, int maximum,
                 const QString& unit, int unitId, QWidget* parent) {
    auto* upDown = new UpDownControl(edit, minimum, maximum, parent);
    setControlId(upDown, upDownId);
    row->addWidget(edit);
    row->addWidget(upDown);
    row->addWidget(makeLabel(unit, unitId, parent));
}

}  // namespace

QLayout* DataEntryDialog::buildHeader() {
    auto* row = new QHBoxLayout;
    formatName_ = makeLabel(QString(), kFormatName, this);
    formatName_->setAlignment(Qt::AlignCenter);
    formatName_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    formatName_->setMinimumWidth(columnsWidth(formatName_, 24));
    row->addWidget(formatName_);
    row->addStretch(1);
    row->addWidget(makeLabel(QStringLiteral("注 文 日："), kDateLabel, this));
    year_ = numberEdit(kYear, kYearBytes, true, kYearBytes, this);
    month_ = numberEdit(kMonth, kMonthDayBytes, true, kMonthDayBytes, this);
    day_ = numberEdit(kDay, kMonthDayBytes, true, kMonthDayBytes, this);
    addDatePart(row, year_, kYearUpDown, 2000, 2100, QStringLiteral("年"), kYearLabel, this);
    addDatePart(row, month_, kMonthUpDown, 1, 12, QStringLiteral("月"), kMonthLabel, this);
    addDatePart(row, day_, kDayUpDown, 1, 31, QStringLiteral("日"), kDayLabel, this);
    return row;
}

QLayout* DataEntryDialog::buildCounterparty() {
    auto* row = new QHBoxLayout;
    row->addWidget(makeLabel(QStringLiteral("相 手 先："), kCounterpartyLabel, this));
    counterparty_ = textCombo(kCounterparty, kCounterpartyBytes, 40, this);
    row->addWidget(counterparty_, 1);
    row->addWidget(makeLabel(QStringLiteral("御中"), kHonorificLabel, this));
    return row;
}

QLayout* DataEntryDialog::buildPayment() {
    auto* row = new QHBoxLayout;
    auto* group = new QGroupBox(QStringLiteral("支払条件"), this);
    setControlId(group, kPaymentGroup);
    auto* terms = new QHBoxLayout(group);
    payment_ = new QButtonGroup(this);
    const struct {
        const char* text;
        int id;
        int kind;
    } radios[] = {{" 手形 ", kNoteRadio, kPaymentNote},
                  {" リース", kLeaseRadio, kPaymentLease},
                  {" 現金", kCashRadio, kPaymentCash}};
    for (const auto& radio : radios) {
        auto* widget = new QRadioButton(QString::fromUtf8(radio.text), group);
        setControlId(widget, radio.id);
        payment_->addButton(widget, radio.kind);
        terms->addWidget(widget);
        if (radio.kind == kPaymentNote) {
            terms->addWidget(makeLabel(QStringLiteral("手形日数："), kNoteDaysLabel, group));
            noteDays_ = numberEdit(kNoteDays, kNoteDaysBytes, true, kNoteDaysBytes, group);
            terms->addWidget(noteDays_);
            terms->addWidget(makeLabel(QStringLiteral("日"), kNoteDaysUnitLabel, group));
            terms->addSpacing(12);
        }
    }
    row->addWidget(group);
    row->addStretch(1);
    row->addWidget(button(QStringLiteral("既存データ"), kExistingData, this));
    row->addSpacing(12);
    approvalLabel_ = makeLabel(QStringLiteral("決裁No．"), kApprovalLabel, this);
    approval_ = new QLineEdit(this);
    setControlId(approval_, kApproval);
    approval_->setAlignment(Qt::AlignCenter);
    approval_->setFixedWidth(columnsWidth(approval_, kApprovalBytes + 3));
    limitSjisInput(approval_, kApprovalBytes);
    row->addWidget(approvalLabel_, 0, Qt::AlignVCenter);
    row->addWidget(approval_, 0, Qt::AlignVCenter);
    return row;
}

QGroupBox* DataEntryDialog::buildLines() {
    auto* group = new QGroupBox(QStringLiteral("明　細"), this);
    setControlId(group, kLinesGroup);
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(4);
    const struct {
        const char* text;
        int id;
        int column;
        int span;
    } headers[] = {{"品　　名", kNameHeader, 0, 1},
                   {"数　量", kQuantityHeader, 1, 1},
                   {"単位", 0, 2, 1},
                   {"単　価", kUnitPriceHeader, 3, 1},
                   {"金　額", kAmountHeader, 4, 1},
                   {"納　期", kDeliveryDateHeader, 5, 2},
                   {"納品場所", kPlaceHeader, 7, 1}};
    for (const auto& header : headers) {
        QLabel* widget = makeLabel(QString::fromUtf8(header.text), header.id, group);
        widget->setAlignment(Qt::AlignCenter);
        grid->addWidget(widget, 0, header.column, 1, header.span);
    }
    for (int slot = 0; slot < 5; ++slot) {
        buildLine(grid, slot);
    }
    return group;
}

void DataEntryDialog::buildLine(QGridLayout* grid, int slot) {
    QWidget* parent = grid->parentWidget();
    LineControls& line = lines_[slot];
    const int row = slot + 1;
    // Boxes hold as many half-width characters on a line as the form prints.
    line.name = makeTwoLineEdit(kName1 + slot, kNameBytes, kNameLineBytes, false, parent);
    line.quantity = numberEdit(kQuantity1 + slot, kQuantityBytes, false, 10, parent);
    line.unit = textCombo(kUnit1 + slot, kUnitBytes, 6, parent);
    line.unitPrice = numberEdit(kUnitPrice1 + slot, kUnitPriceBytes, false, 12, parent);
    line.amount = numberEdit(kAmount1 + slot, kAmountBytes, false, 13, parent);
    // Computed as a rule, so Tab passes it by.
    line.amount->setFocusPolicy(Qt::ClickFocus);
    line.date =
        makeTwoLineEdit(kDeliveryDate1 + slot, kDeliveryDateBytes, kDateLineBytes, true, parent);
    line.picker = new DateDropButton(parent);
    setControlId(line.picker, kDatePicker1 + slot);
    line.place = makeTwoLineEdit(kPlace1 + slot, kPlaceBytes, kPlaceLineBytes, true, parent);
    grid->addWidget(line.name, row, 0);
    grid->addWidget(line.quantity, row, 1);
    grid->addWidget(line.unit, row, 2);
    grid->addWidget(line.unitPrice, row, 3);
    grid->addWidget(line.amount, row, 4);
    grid->addWidget(line.date, row, 5);
    grid->addWidget(line.picker, row, 6, Qt::AlignTop);
    grid->addWidget(line.place, row, 7);
    // The last line has nowhere to split into.
    if (slot < 4) {
        line.split = button(QStringLiteral("分納"), kSplit1 + slot, parent);
        grid->addWidget(line.split, row, 8);
    }
}

QLayout* DataEntryDialog::buildButtons() {
    auto* row = new QHBoxLayout;
    row->addWidget(button(QStringLiteral("データクリア"), kClear, this));
    row->addStretch(1);
    row->addWidget(button(QStringLiteral("OK"), kOk, this));
    row->addWidget(button(QStringLiteral("ｷｬﾝｾﾙ"), kCancel, this));
    row->addWidget(button(QStringLiteral("ヘルプ"), kHelp, this));
    return row;
}

void DataEntryDialog::applyColours() {
    const auto fill = [](QWidget* widget, const QColor& colour) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, colour);
        palette.setColor(QPalette::WindowText, Qt::black);
        widget->setPalette(palette);
        widget->setAutoFillBackground(true);
    };
    for (QLabel* widget : findChildren<QLabel*>()) {
        fill(widget, kStaticColour);
    }
    for (QRadioButton* widget : findChildren<QRadioButton*>()) {
        fill(widget, kStaticColour);
    }
    for (QGroupBox* widget : findChildren<QGroupBox*>()) {
        widget->setStyleSheet(QStringLiteral(
            "QGroupBox::title { background-color: rgb(200,200,180); color: black; }"));
    }
    fill(formatName_, kFormatColours[currentFormat() == 1 ? 1 : 0]);
}

// A read-only edit is drawn like the static texts.
void DataEntryDialog::showNoteDaysEditable(bool editable) {
    setEditable(noteDays_, editable, kStaticColour);
}

}  // namespace belvorine
