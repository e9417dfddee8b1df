// The behaviour of the data entry dialog's fields: what each field takes
// into the working order and when, the numbers shown grouped except while
// they are edited, the amount and unit price derived from each other, and
// the lines that move up when a name is erased.

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
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

std::string ungrouped(const QLineEdit* edit) {
    return removeThousands(toRecordText(edit->text(), 255));
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
    if (event->type() == QEvent::InputMethod) {
        trackComposition(watched, static_cast<QInputMethodEvent*>(event));
    } else if (event->type() == QEvent::FocusOut) {
        // A composition the input method dropped with the focus ends here.
        for (int slot = 0; slot < 5; ++slot) {
            if (watched == lines_[slot].name && composing_[slot]) {
                composing_[slot] = false;
                nameChanged(slot);
            }
        }
    }
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        // A context menu or a list dropping down does not leave the field.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            if (event->type() == QEvent::FocusIn) {
                numberFocusIn(watched);
            } else if (!numberFocusOut(watched)) {
                storeHeaderControls();
                for (int slot = 0; slot < 5; ++slot) {
                    if (watched == lines_[slot].unit) {
                        storeRecordText(workingOrder().lines[slot].unit,
                                        lines_[slot].unit->currentText(), data_entry::kUnitBytes);
                    }
                }
            }
        }
    }
    return BelvorineDialog::eventFilter(watched, event);
}

bool DataEntryDialog::numberFocusIn(QObject* watched) {
    for (int slot = 0; slot < 5; ++slot) {
        const LineControls& line = lines_[slot];
        OrderLine& record = workingOrder().lines[slot];
        const auto showUngrouped = [&](QLineEdit* edit, auto& field) {
            const std::string text = ungrouped(edit);
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

bool DataEntryDialog::numberFocusOut(QObject* watched) {
    for (int slot = 0; slot < 5; ++slot) {
        const LineControls& line = lines_[slot];
        OrderLine& record = workingOrder().lines[slot];
        if (watched == line.quantity) {
            copySjis(record.quantity, ungrouped(line.quantity));
            line.quantity->setText(shownNumber(sjisView(record.quantity)));
            return true;
        }
        if (watched == line.unitPrice) {
            copySjis(record.unitPrice, normaliseUnitPrice(ungrouped(line.unitPrice)));
            line.unitPrice->setText(shownNumber(sjisView(record.unitPrice)));
            recomputeAmount(slot);
            return true;
        }
        if (watched == line.amount) {
            copySjis(record.amount, ungrouped(line.amount));
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
    if (lineAmount(ungrouped(line.quantity), ungrouped(line.unitPrice), amount)) {
        line.amount->setText(shownNumber(amount));
    }
}

void DataEntryDialog::deriveUnitPrice(int slot) {
    const LineControls& line = lines_[slot];
    std::string unitPrice;
    if (unitPriceForAmount(ungrouped(line.quantity), ungrouped(line.amount), unitPrice)) {
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
        copySjis(record.quantity, ungrouped(line.quantity));
        storeRecordText(record.unit, line.unit->currentText(), data_entry::kUnitBytes);
        copySjis(record.unitPrice, ungrouped(line.unitPrice));
        copySjis(record.amount, ungrouped(line.amount));
        storeRecordText(record.deliveryDate, line.date->toPlainText());
        storeRecordText(record.deliveryPlace, line.place->toPlainText());
    }
}

// An input method sends a text change for every update of its composition
// (and removes a selected text before the composition starts); only the
// committed text counts as the name.
void DataEntryDialog::trackComposition(QObject* watched, const QInputMethodEvent* event) {
    for (int slot = 0; slot < 5; ++slot) {
        if (watched == lines_[slot].name) {
            composing_[slot] = !event->preeditString().isEmpty();
        }
    }
}

void DataEntryDialog::nameChanged(int slot) {
    if (refilling_ || composing_[slot]) {
        return;
    }
    WorkingOrder& working = workingOrder();
    // A line that moves carries what its fields show, not only what was
    // taken when they were left.
    storeLineControls();
    int newSlot = slot;
    const unsigned moved = settleEditedLine(working, slot, newSlot);
    if (moved != 0) {
        QPlainTextEdit* edit = lines_[slot].name;
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
    noteDays_->setReadOnly(true);
    if (QAbstractButton* radio = payment_->button(working.paymentKind)) {
        radio->setChecked(true);
    }
    if (working.paymentKind == kPaymentNote) {
        noteDays_->setReadOnly(false);
        const std::string_view text = sjisView(working.paymentText);
        if (text == leasePaymentText() || text == cashPaymentText()) {
            working.paymentText[0] = '\0';
        }
        noteDays_->setText(fromRecordText(working.paymentText));
    } else {
        noteDays_->clear();
    }
    paintReadOnly(noteDays_);
}

void DataEntryDialog::paymentClicked(int kind) {
    workingOrder().paymentKind = kind;
    refreshPayment();
}

void DataEntryDialog::takePayment() {
    WorkingOrder& working = workingOrder();
    switch (payment_->checkedId()) {
        case kPaymentNote:
            storeRecordText(working.paymentText, noteDays_->text());
            break;
        case kPaymentLease:
            copySjis(working.paymentText, leasePaymentText());
            break;
        case kPaymentCash:
            copySjis(working.paymentText, cashPaymentText());
            break;
        default:
            return;
    }
    working.paymentKind = payment_->checkedId();
}

}  // namespace belvorine
