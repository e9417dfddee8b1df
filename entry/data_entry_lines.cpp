// The behaviour of the data entry dialog's fields: what each field takes
// into the working order and when, the numbers shown grouped except while
// they are edited, the amount and unit price derived from each other, and
// the lines that move up when a name is erased.

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTextCursor>

#include "data/order_numbers.h"
#include "entry/data_entry_dialog.h"
#include "entry/data_entry_ids.h"
#include "entry/date_drop_button.h"
#include "entry/working_order.h"
#include "form/amount_format.h"
#include "widgets/sjis_input.h"

namespace belvorine {
namespace {

// Grouped for display; "Over Flow" is a word, not a number to group.
QString shownNumber(std::string_view number) {
    return fromRecordText(number == kOverFlow ? std::string(number) : groupThousands(number));
}

// "%4d年\r\n%02d月%02d日" of a date, as the records keep a delivery date.
QString deliveryDateText(const QDate& date) {
    return QStringLiteral("%1年\n%2月%3日")
        .arg(date.year(), 4)
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

}  // namespace

void DataEntryDialog::connectFields() {
    for (QLineEdit* edit : {year_, month_, day_}) {
        connect(edit, &QLineEdit::textChanged, this, [this] {
            if (!refilling_) {
                storeHeaderControls();
            }
        });
        edit->installEventFilter(this);
    }
    counterparty_->installEventFilter(this);
    connect(approval_, &QLineEdit::textChanged, this,
            [](const QString& text) { storeRecordText(workingOrder().approvalNo, text); });
    connect(payment_, &QButtonGroup::idClicked, this, &DataEntryDialog::paymentClicked);
    for (int slot = 0; slot < 5; ++slot) {
        LineControls& line = lines_[slot];
        connect(line.name, &QPlainTextEdit::textChanged, this, [this, slot] { nameChanged(slot); });
        line.name->installEventFilter(this);
        connect(line.date, &QPlainTextEdit::textChanged, this,
                &DataEntryDialog::datesAndPlacesChanged);
        connect(line.place, &QPlainTextEdit::textChanged, this,
                &DataEntryDialog::datesAndPlacesChanged);
        connect(line.quantity, &QLineEdit::textEdited, this,
                [this, slot] { recomputeAmount(slot); });
        connect(line.picker, &DateDropButton::datePicked, this,
                [this, slot](const QDate& date) { pickDeliveryDate(slot, date); });
        for (QWidget* field : std::initializer_list<QWidget*>{line.quantity, line.unitPrice,
                                                              line.amount, line.unit}) {
            field->installEventFilter(this);
        }
    }
}

bool DataEntryDialog::eventFilter(QObject* watched, QEvent* event) {
    if (entersField(event)) {
        numberFocusIn(watched);
    } else if (leavesField(event) && !numberFocusOut(watched)) {
        storeHeaderControls();
        for (int slot = 0; slot < 5; ++slot) {
            if (watched == lines_[slot].unit) {
                storeRecordText(workingOrder().lines[slot].unit, lines_[slot].unit->currentText(),
                                data_entry::kUnitBytes);
            }
        }
    }
    return BelvorineDialog::eventFilter(watched, event);
}

std::array<std::pair<QLineEdit*, NumberField>, 3> DataEntryDialog::numberFields(int slot) const {
    const LineControls& line = lines_[slot];
    return {{{line.quantity, NumberField::Quantity},
             {line.unitPrice, NumberField::UnitPrice},
             {line.amount, NumberField::Amount}}};
}

bool DataEntryDialog::numberFocusIn(QObject* watched) {
    for (int slot = 0; slot < 5; ++slot) {
        const LineControls& line = lines_[slot];
        OrderLine& record = workingOrder().lines[slot];
        const auto showUngrouped = [&](QLineEdit* edit, auto& field) {
            const std::string text = typedNumber(edit);
            copySjis(field, text);
            edit->setText(fromRecordText(text));
            return true;
        };
        if (watched == line.quantity) {
            return showUngrouped(line.quantity, record.quantity);
        }
        if (watched == line.unitPrice) {
            return showUngrouped(line.unitPrice, record.unitPrice);
        }
        if (watched == line.amount) {
            return showUngrouped(line.amount, record.amount);
        }
    }
    return false;
}

// A number the record cannot keep as typed stays as it is in its field,
// which gets the focus back.
bool DataEntryDialog::numberFocusOut(QObject* watched) {
    for (int slot = 0; slot < 5; ++slot) {
        const LineControls& line = lines_[slot];
        OrderLine& record = workingOrder().lines[slot];
        for (const auto& [edit, field] : numberFields(slot)) {
            if (watched == edit && !keepsTypedNumber(edit, field, false)) {
                return true;
            }
        }
        if (watched == line.quantity) {
            copySjis(record.quantity, typedNumber(line.quantity));
            line.quantity->setText(shownNumber(sjisView(record.quantity)));
            return true;
        }
        if (watched == line.unitPrice) {
            copySjis(record.unitPrice, normaliseUnitPrice(typedNumber(line.unitPrice)));
            line.unitPrice->setText(shownNumber(sjisView(record.unitPrice)));
            recomputeAmount(slot);
            return true;
        }
        if (watched == line.amount) {
            copySjis(record.amount, typedNumber(line.amount));
            line.amount->setText(shownNumber(sjisView(record.amount)));
            deriveUnitPrice(slot);
            return true;
        }
    }
    return false;
}

void DataEntryDialog::recomputeAmount(int slot) {
    const LineControls& line = lines_[slot];
    std::string amount;
    if (lineAmount(typedNumber(line.quantity), typedNumber(line.unitPrice), amount)) {
        line.amount->setText(shownNumber(amount));
    }
}

void DataEntryDialog::deriveUnitPrice(int slot) {
    const LineControls& line = lines_[slot];
    std::string unitPrice;
    if (unitPriceForAmount(typedNumber(line.quantity), typedNumber(line.amount), unitPrice)) {
        line.unitPrice->setText(shownNumber(unitPrice));
    }
}

void DataEntryDialog::refillLine(int slot) {
    const OrderLine& record = workingOrder().lines[slot];
    const LineControls& line = lines_[slot];
    line.name->setPlainText(fromRecordText(record.name));
    line.quantity->setText(shownNumber(sjisView(record.quantity)));
    line.unit->setEditText(fromRecordText(record.unit));
    line.unitPrice->setText(shownNumber(sjisView(record.unitPrice)));
    line.amount->setText(shownNumber(sjisView(record.amount)));
    line.date->setPlainText(fromRecordText(record.deliveryDate));
    line.place->setPlainText(fromRecordText(record.deliveryPlace));
}

void DataEntryDialog::refillLines() {
    const bool wasRefilling = refilling_;
    refilling_ = true;
    for (int slot = 0; slot < 5; ++slot) {
        refillLine(slot);
    }
    approval_->setText(fromRecordText(workingOrder().approvalNo));
    refilling_ = wasRefilling;
}

void DataEntryDialog::storeLineControls() {
    for (int slot = 0; slot < 5; ++slot) {
        const LineControls& line = lines_[slot];
        OrderLine& record = workingOrder().lines[slot];
        storeRecordText(record.name, line.name->toPlainText());
        copySjis(record.quantity, typedNumber(line.quantity));
        storeRecordText(record.unit, line.unit->currentText(), data_entry::kUnitBytes);
        copySjis(record.unitPrice, typedNumber(line.unitPrice));
        copySjis(record.amount, typedNumber(line.amount));
        storeRecordText(record.deliveryDate, line.date->toPlainText());
        storeRecordText(record.deliveryPlace, line.place->toPlainText());
    }
}

// Only a committed change of the name counts. An input method changes the
// text while it composes (it removes a selected text when the composition
// begins) and reports a change for every event it sends, even one that
// changes nothing (switching it on); a cancelled composition puts the text
// back. An empty name stays empty without moving any line: only a name
// erased by the user removes its line.
void DataEntryDialog::nameChanged(int slot) {
    QPlainTextEdit* edit = lines_[slot].name;
    if (refilling_ || isComposing(edit)) {
        return;
    }
    WorkingOrder& working = workingOrder();
    OrderLine& record = working.lines[slot];
    if (toRecordText(edit->toPlainText(), sizeof record.name - 1) == sjisView(record.name)) {
        return;
    }
    const bool wasFilled = !isEmptyLine(record);
    // A line that moves carries what its fields show, not only what was
    // taken when they were left.
    storeLineControls();
    if (!wasFilled && isEmptyLine(record)) {
        return;
    }
    int newSlot = slot;
    const unsigned moved = settleEditedLine(working, slot, newSlot);
    if (moved != 0) {
        const bool typing = edit->hasFocus();
        const int caret = edit->textCursor().position();
        refilling_ = true;
        for (int other = 0; other < 5; ++other) {
            if (moved & (1u << other)) {
                refillLine(other);
                recomputeAmount(other);
            }
        }
        refilling_ = false;
        // The caret follows the line it moved, so the next key lands there.
        if (typing && newSlot != slot) {
            QPlainTextEdit* target = lines_[newSlot].name;
            target->setFocus();
            QTextCursor cursor = target->textCursor();
            cursor.setPosition(qMin(caret, static_cast<int>(target->toPlainText().size())));
            target->setTextCursor(cursor);
            // The box the text left is still handling the key and turns its
            // caret on at the end; told again afterwards that the focus has
            // gone, it stops drawing it.
            QPointer<QPlainTextEdit> left(edit);
            QMetaObject::invokeMethod(
                edit,
                [left] {
                    if (left && !left->hasFocus()) {
                        QFocusEvent focusOut(QEvent::FocusOut, Qt::OtherFocusReason);
                        QCoreApplication::sendEvent(left, &focusOut);
                    }
                },
                Qt::QueuedConnection);
        }
    }
    recountLines(working);
}

void DataEntryDialog::datesAndPlacesChanged() {
    if (refilling_) {
        return;
    }
    for (int slot = 0; slot < 5; ++slot) {
        OrderLine& record = workingOrder().lines[slot];
        storeRecordText(record.deliveryDate, lines_[slot].date->toPlainText());
        storeRecordText(record.deliveryPlace, lines_[slot].place->toPlainText());
    }
}

void DataEntryDialog::pickDeliveryDate(int slot, const QDate& date) {
    lines_[slot].date->setPlainText(deliveryDateText(date));
}

void DataEntryDialog::storeHeaderControls() {
    WorkingOrder& working = workingOrder();
    storeRecordText(working.year, year_->text());
    storeRecordText(working.month, month_->text());
    storeRecordText(working.day, day_->text());
    storeRecordText(working.counterparty, counterparty_->currentText());
}

void DataEntryDialog::refreshPayment() {
    WorkingOrder& working = workingOrder();
    payment_->setExclusive(false);
    for (QAbstractButton* radio : payment_->buttons()) {
        radio->setChecked(false);
    }
    payment_->setExclusive(true);
    if (QAbstractButton* radio = payment_->button(working.paymentKind)) {
        radio->setChecked(true);
    }
    if (working.paymentKind == kPaymentNote) {
        if (paymentKindOf(sjisView(working.paymentText)) != kPaymentNote) {
            working.paymentText[0] = '\0';
        }
        noteDays_->setText(fromRecordText(working.paymentText));
    } else {
        noteDays_->clear();
    }
    showNoteDaysEditable(working.paymentKind == kPaymentNote);
}

void DataEntryDialog::paymentClicked(int kind) {
    workingOrder().paymentKind = kind;
    refreshPayment();
}

void DataEntryDialog::takePayment() {
    const int kind = payment_->checkedId();
    if (kind < 0) {
        return;
    }
    WorkingOrder& working = workingOrder();
    copySjis(working.paymentText,
             paymentTextOf(kind, toRecordText(noteDays_->text(), data_entry::kNoteDaysBytes)));
    working.paymentKind = kind;
}

}  // namespace belvorine
