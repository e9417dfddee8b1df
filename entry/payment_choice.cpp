#include "entry/payment_choice.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QRadioButton>

#include "data/order_record.h"
#include "entry/data_entry_ids.h"
#include "entry/entry_fields.h"
#include "entry/working_order.h"
#include "widgets/help.h"
#include "widgets/sjis_input.h"

namespace belvorine {
namespace {

QRadioButton* radio(const QString& text, int id, QWidget* parent) {
    auto* button = new QRadioButton(text, parent);
    setControlId(button, id);
    return button;
}

}  // namespace

PaymentChoice::PaymentChoice(QWidget* parent, const PaymentChoiceIds& ids, bool emptyDaysOffNote)
    : QObject(parent),
      group_(new QButtonGroup(this)),
      note_(radio(QStringLiteral("手形"), ids.note, parent)),
      lease_(radio(QStringLiteral("リース"), ids.lease, parent)),
      cash_(radio(QStringLiteral("現金"), ids.cash, parent)),
      days_(makeNumberEdit(ids.days, data_entry::kNoteDaysBytes, true, parent)),
      emptyDaysOffNote_(emptyDaysOffNote) {
    group_->addButton(note_, kPaymentNote);
    group_->addButton(lease_, kPaymentLease);
    group_->addButton(cash_, kPaymentCash);
    days_->setMaximumWidth(days_->fontMetrics().horizontalAdvance(QStringLiteral("000000000")));
    // Tab follows the row as it is shown: the days stand right after "手形".
    QWidget::setTabOrder(note_, days_);
    QWidget::setTabOrder(days_, lease_);
    QWidget::setTabOrder(lease_, cash_);
    connect(group_, &QButtonGroup::idClicked, this, &PaymentChoice::choose);
}

void PaymentChoice::showTerms(std::string_view paymentText) {
    const int kind = paymentKindOf(paymentText);
    group_->button(kind)->setChecked(true);
    days_->setText(kind == kPaymentNote ? fromRecordText(paymentText) : QString());
    setEditable(days_, kind == kPaymentNote);
}

std::string PaymentChoice::terms() const {
    return paymentTextOf(group_->checkedId(),
                         toRecordText(days_->text().trimmed(), data_entry::kNoteDaysBytes));
}

void PaymentChoice::choose(int kind) {
    setEditable(days_, kind == kPaymentNote);
    if (kind != kPaymentNote && emptyDaysOffNote_) {
        days_->clear();
    }
}

}  // namespace belvorine
