#include "entry/bulk_payment_dialog.h"

#include <vector>

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "data/order_file_format.h"
#include "data/order_store.h"
#include "entry/entry_fields.h"
#include "entry/existing_data_rows.h"
#include "entry/history_dialog_ids.h"
#include "entry/payment_choice.h"
#include "widgets/dialog_base.h"
#include "widgets/message_box.h"
#include "widgets/sjis_input.h"

namespace belvorine {
namespace {

using namespace bulk_payment;

class BulkPaymentDialog : public BelvorineDialog {
public:
    BulkPaymentDialog(QWidget* owner, OrderStore& store, const std::string& counterparty,
                      std::string_view startTerms);

private:
    void accept() override;

    OrderStore& store_;
    const std::string& counterparty_;
    PaymentChoice* payment_;
};

BulkPaymentDialog::BulkPaymentDialog(QWidget* owner, OrderStore& store,
                                     const std::string& counterparty, std::string_view startTerms)
    : BelvorineDialog(owner, QStringLiteral("ＭＳ ゴシック"), 10),
      store_(store),
      counterparty_(counterparty) {
    setWindowTitle(QStringLiteral("支払条件一括変更"));
    setHelpTopic(QStringLiteral("::/sitechange.html"));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    top->addWidget(makeLabel(QStringLiteral("相手先："), kCounterpartyLabel, this));
    QLabel* name = makeLabel(fromRecordText(counterparty), kCounterparty, this);
    name->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    top->addWidget(name, 1);
    layout->addLayout(top);

    auto* group = new QGroupBox(QStringLiteral("支払条件"), this);
    setControlId(group, kPaymentGroup);
    auto* terms = new QHBoxLayout(group);
    payment_ = new PaymentChoice(group, {kNote, kLease, kCash, kNoteDays}, true);
    terms->addWidget(payment_->note());
    terms->addWidget(payment_->days());
    terms->addWidget(makeLabel(QStringLiteral("日"), kDaysLabel, group));
    terms->addWidget(payment_->lease());
    terms->addWidget(payment_->cash());
    layout->addWidget(group);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    addDialogButtons(buttons, this, kOk);
    layout->addLayout(buttons);

    payment_->showTerms(startTerms);
    payment_->days()->setFocus();
}

void BulkPaymentDialog::accept() {
    if (!changePaymentTerms(store_, counterparty_, payment_->terms())) {
        showWarning(this, QStringLiteral("確認"),
                    QStringLiteral("支払条件が長すぎるため変更できないデータがあります！！\n\n"
                                   "日数を短くして下さい！！"));
        return;
    }
    done(1);
}

}  // namespace

int changePaymentTerms(OrderStore& store, const std::string& counterparty,
                       const std::string& terms) {
    const std::vector<int> rows = store.rowsOf(counterparty);
    for (const int index : rows) {
        if (!store.fieldFits(index, kStorePaymentText, terms)) {
            return 0;
        }
    }
    for (const int index : rows) {
        store.setField(index, kStorePaymentText, terms);
    }
    return 1;
}

int runBulkPaymentChange(QWidget* owner, OrderStore& store, const std::string& counterparty,
                         std::string_view startTerms) {
    BulkPaymentDialog dialog(owner, store, counterparty, startTerms);
    return dialog.exec() == 1 ? 1 : 2;
}

}  // namespace belvorine
