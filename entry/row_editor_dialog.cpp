#include "entry/row_editor_dialog.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "data/order_file_format.h"
#include "data/order_numbers.h"
#include "data/order_store.h"
#include "entry/data_entry_ids.h"
#include "entry/entry_fields.h"
#include "entry/existing_data_rows.h"
#include "entry/history_dialog_ids.h"
#include "entry/payment_choice.h"
#include "entry/working_order.h"
#include "widgets/dialog_base.h"
#include "widgets/message_box.h"
#include "widgets/shown_lines.h"
#include "widgets/sjis_input.h"

namespace belvorine {
namespace {

using namespace row_editor;

// A number may be typed as long as the history keeps it ("%8.2f" of up to
// 19 characters), so that it is never cut while it is typed.
constexpr int kNumberBytes = 19;

class RowEditorDialog : public BelvorineDialog {
public:
    RowEditorDialog(QWidget* owner, OrderStore& store, int storeIndex);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLayout* buildPayment();
    QLayout* buildItem();
    QLayout* buildButtons();
    void showRow();
    NumberField numberField(const QLineEdit* edit) const;
    void normaliseNumber(QLineEdit* edit);
    void accept() override;

    OrderStore& store_;
    int storeIndex_;
    PaymentChoice* payment_ = nullptr;
    QPlainTextEdit* name_ = nullptr;
    QLineEdit* quantity_ = nullptr;
    QComboBox* unit_ = nullptr;
    QLineEdit* unitPrice_ = nullptr;
    QPlainTextEdit* place_ = nullptr;
};

// The first two lines of a box as it shows them, each cut to `maxBytes`.
void takeLines(const QPlainTextEdit* edit, std::size_t maxBytes, std::string& first,
               std::string& second) {
    const QStringList lines = shownLines(edit, 2);
    first = lines.size() > 0 ? toRecordText(lines[0], maxBytes) : std::string();
    second = lines.size() > 1 ? toRecordText(lines[1], maxBytes) : std::string();
}

RowEditorDialog::RowEditorDialog(QWidget* owner, OrderStore& store, int storeIndex)
    : BelvorineDialog(owner, QStringLiteral("ＭＳ ゴシック"), 10),
      store_(store),
      storeIndex_(storeIndex) {
    setWindowTitle(QStringLiteral("項目の編集"));
    setHelpTopic(QStringLiteral("::/seledit.html"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildPayment());
    layout->addLayout(buildItem());
    layout->addLayout(buildButtons());
    showRow();
    name_->setFocus();
}

QLayout* RowEditorDialog::buildPayment() {
    auto* row = new QHBoxLayout;
    payment_ = new PaymentChoice(this, {kNote, kLease, kCash, kNoteDays}, false);
    row->addWidget(makeLabel(QStringLiteral("支払条件"), kPaymentLabel, this));
    row->addWidget(payment_->note());
    row->addWidget(payment_->days());
    row->addWidget(makeLabel(QStringLiteral("日"), kDaysLabel, this));
    row->addWidget(payment_->lease());
    row->addWidget(payment_->cash());
    row->addStretch(1);
    return row;
}

QLayout* RowEditorDialog::buildItem() {
    auto* grid = new QGridLayout;
    name_ = makeTwoLineEdit(kName, 2 * kNameLineBytes + 2, kNameLineBytes, false, this);
    quantity_ = makeNumberEdit(kQuantity, kNumberBytes, false, this);
    unit_ = makeTextCombo(kUnit, data_entry::kUnitBytes, this);
    unitPrice_ = makeNumberEdit(kUnitPrice, kNumberBytes, false, this);
    place_ = makeTwoLineEdit(kPlace, 2 * kPlaceLineBytes + 2, kPlaceLineBytes, true, this);
    for (const std::string& unit : store_.units()) {
        unit_->addItem(fromRecordText(unit));
    }
    // Wide enough for the longest unit of the list and for a unit as long
    // as one may be typed.
    unit_->setMinimumContentsLength(data_entry::kUnitBytes);
    unit_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    grid->addWidget(makeLabel(QStringLiteral("品　名"), kNameLabel, this), 0, 0);
    grid->addWidget(name_, 0, 1, 1, 3);
    grid->addWidget(makeLabel(QStringLiteral("数　量"), kQuantityLabel, this), 1, 0);
    grid->addWidget(quantity_, 1, 1);
    grid->addWidget(unit_, 1, 2);
    grid->addWidget(makeLabel(QStringLiteral("単　価"), kUnitPriceLabel, this), 2, 0);
    grid->addWidget(unitPrice_, 2, 1);
    grid->addWidget(makeLabel(QStringLiteral("納品場所"), kPlaceLabel, this), 3, 0);
    grid->addWidget(place_, 3, 1, 1, 3);
    quantity_->installEventFilter(this);
    unitPrice_->installEventFilter(this);
    return grid;
}

QLayout* RowEditorDialog::buildButtons() {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    addDialogButtons(row, this, kOk);
    return row;
}

void RowEditorDialog::showRow() {
    const StoreRow row = store_.row(storeIndex_);
    name_->setPlainText(fromRecordText(row[kStoreNameLine1] + "\r\n" + row[kStoreNameLine2]));
    quantity_->setText(fromRecordText(row[kStoreQuantity]));
    unit_->setEditText(fromRecordText(row[kStoreUnit]));
    unitPrice_->setText(fromRecordText(row[kStoreUnitPrice]));
    place_->setPlainText(fromRecordText(row[kStorePlaceLine1] + "\r\n" + row[kStorePlaceLine2]));
    payment_->showTerms(row[kStorePaymentText]);
}

bool RowEditorDialog::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit && (edit == quantity_ || edit == unitPrice_)) {
        if (entersField(event)) {
            // Shortened to what was typed, so that it reads as typed.
            edit->setText(shortNumberText(edit->text()));
        } else if (leavesField(event) && keepsTypedNumber(edit, numberField(edit), false)) {
            normaliseNumber(edit);
        }
    }
    return BelvorineDialog::eventFilter(watched, event);
}

NumberField RowEditorDialog::numberField(const QLineEdit* edit) const {
    return edit == quantity_ ? NumberField::Quantity : NumberField::UnitPrice;
}

// As the data entry dialog keeps them: a quantity "%8.0f" or "%8.2f", a unit
// price "%8.2f".
void RowEditorDialog::normaliseNumber(QLineEdit* edit) {
    const std::string typed = typedNumber(edit);
    edit->setText(
        fromRecordText(edit == quantity_ ? normaliseQuantity(typed) : normaliseUnitPrice(typed)));
}

void RowEditorDialog::accept() {
    // A number the history cannot keep as typed is refused, never changed.
    for (QLineEdit* edit : {quantity_, unitPrice_}) {
        if (!keepsTypedNumber(edit, numberField(edit), true)) {
            return;
        }
    }
    normaliseNumber(quantity_);
    normaliseNumber(unitPrice_);
    StoreRow row = store_.row(storeIndex_);
    takeLines(name_, kNameLineBytes, row[kStoreNameLine1], row[kStoreNameLine2]);
    takeLines(place_, kPlaceLineBytes, row[kStorePlaceLine1], row[kStorePlaceLine2]);
    row[kStoreQuantity] = toRecordText(quantity_->text(), 255);
    row[kStoreUnit] = toRecordText(unit_->currentText(), data_entry::kUnitBytes);
    row[kStoreUnitPrice] = toRecordText(unitPrice_->text(), 255);
    row[kStorePaymentText] = payment_->terms();
    if (!row.fitsWhole()) {
        showWarning(this, QStringLiteral("確認"),
                    QStringLiteral("項目の内容が長すぎるため保存できません！！\n\n"
                                   "品名や納品場所を短くして下さい！！"));
        return;
    }
    store_.setRow(storeIndex_, row);
    done(1);
}

}  // namespace

int runRowEditor(QWidget* owner, OrderStore& store, int storeIndex) {
    RowEditorDialog dialog(owner, store, storeIndex);
    const int result = dialog.exec();
    return result == 1 ? 1 : 2;
}

}  // namespace belvorine
