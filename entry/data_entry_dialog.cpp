#include "entry/data_entry_dialog.h"

#include <algorithm>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "data/order_store.h"
#include "data/settings_state.h"
#include "entry/data_entry_ids.h"
#include "entry/working_order.h"
#include "widgets/message_box.h"
#include "widgets/sjis_input.h"

namespace belvorine {
namespace {

using namespace data_entry;

const QString kCounterpartyPlaceholder = QStringLiteral("「相手先」");

PartialDeliveryHook& partialDeliveryHook() {
    static PartialDeliveryHook hook;
    return hook;
}

ExistingDataHook& existingDataHook() {
    static ExistingDataHook hook;
    return hook;
}

bool isKnownCounterparty(const std::string& name) {
    const auto& entries = orderStore().counterparties();
    return std::any_of(entries.begin(), entries.end(),
                       [&](const CounterpartyEntry& entry) { return entry.name == name; });
}

}  // namespace

DataEntryDialog::DataEntryDialog(QWidget* owner)
    : BelvorineDialog(owner, QStringLiteral("ＭＳ ゴシック"), 10) {
    setWindowTitle(QStringLiteral("データ入力"));
    setHelpTopic(dataEntryHelpTopic(), HelpCommand::DisplayTopic);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildHeader());
    layout->addLayout(buildCounterparty());
    layout->addLayout(buildPayment());
    layout->addWidget(buildLines());
    layout->addLayout(buildButtons());
    applyColours();
    connectFields();
    connectButtons();

    refilling_ = true;
    WorkingOrder& working = workingOrder();
    copyFromOrder(working, currentOrder());
    fillLists();
    closeGaps(working);
    recountLines(working);
    showHeader();
    refreshPayment();
    refillLines();
    refilling_ = false;
    counterparty_->setFocus();
    counterparty_->lineEdit()->selectAll();
}

void DataEntryDialog::connectButtons() {
    const auto onClick = [this](int id, auto slot) {
        connect(qobject_cast<QPushButton*>(findControl(this, id)), &QPushButton::clicked, this,
                slot);
    };
    onClick(kExistingData, [this] { pickExistingData(); });
    onClick(kClear, [this] { clearData(); });
    onClick(kOk, [this] { commit(); });
    onClick(kCancel, [this] { reject(); });
    onClick(kHelp, [this] { openHelpTopic(); });
    for (int slot = 0; slot < 4; ++slot) {
        onClick(kSplit1 + slot, [this, slot] { splitLine(slot); });
    }
}

void DataEntryDialog::fillLists() {
    const int format = currentFormat();
    for (const CounterpartyEntry& entry : orderStore().counterparties()) {
        if (entry.formatIndex == format) {
            counterparty_->addItem(fromRecordText(entry.name));
        }
    }
    for (const LineControls& line : lines_) {
        for (const std::string& unit : orderStore().units()) {
            line.unit->addItem(fromRecordText(unit));
        }
    }
}

void DataEntryDialog::showHeader() {
    const WorkingOrder& working = workingOrder();
    const PageSettings& format = printerSettings(currentFormat());
    formatName_->setText(fromRecordText(format.formatName));
    approvalLabel_->setVisible(format.approvalOnCopy != 0);
    approval_->setVisible(format.approvalOnCopy != 0);
    year_->setText(fromRecordText(working.year));
    month_->setText(fromRecordText(working.month));
    day_->setText(fromRecordText(working.day));
    const QString counterparty = fromRecordText(working.counterparty);
    counterparty_->setEditText(counterparty.isEmpty() ? kCounterpartyPlaceholder : counterparty);
}

void DataEntryDialog::reject() {
    done(2);
}

void DataEntryDialog::afterLinesChanged() {
    refillLines();
    for (int slot = 0; slot < 5; ++slot) {
        recomputeAmount(slot);
    }
    recountLines(workingOrder());
}

void DataEntryDialog::pickExistingData() {
    const QString text = counterparty_->currentText();
    if (text.isEmpty() || text == kCounterpartyPlaceholder) {
        showWarning(this, QStringLiteral("相手先確認"),
                    QStringLiteral("相手先を指定して下さい！！"));
        return;
    }
    const std::string counterparty = toRecordText(text, kCounterpartyBytes);
    if (!isKnownCounterparty(counterparty)) {
        showWarning(this, QStringLiteral("相手先確認"),
                    QStringLiteral("相手先が既存データにありません！！"));
        return;
    }
    if (workingOrder().lineCount >= 5) {
        showWarning(this, QStringLiteral("データ確認"),
                    QStringLiteral("データの挿入場所がありません！！\n\n"
                                   "先にデータをクリアして下さい！！"));
        return;
    }
    takePayment();
    storeLineControls();
    if (existingDataHook() && existingDataHook()(*this, counterparty) == 1) {
        refreshPayment();
        afterLinesChanged();
    }
}

void DataEntryDialog::splitLine(int slot) {
    lineToSplit_ = slot + 1;
    if (lines_[slot].name->toPlainText().isEmpty()) {
        return;
    }
    storeLineControls();
    if (partialDeliveryHook() && partialDeliveryHook()(*this, lineToSplit_) == 1) {
        afterLinesChanged();
    }
}

void DataEntryDialog::clearData() {
    const int answer = showMessage({this, QStringLiteral("データ消去"),
                                    QStringLiteral("クリアーしてよろしいですか？"),
                                    MessageIcon::Question, MessageButtons::YesNo});
    if (answer != kResultYes) {
        return;
    }
    storeHeaderControls();
    approval_->clear();
    noteDays_->clear();
    clearWorkingLines(workingOrder(), currentOrder());
    refillLines();
}

QString dataEntryHelpTopic() {
    return printerSettings(currentFormat()).approvalOnCopy != 0
               ? QStringLiteral("::/inpdata02.html")
               : QStringLiteral("::/inpdata01.html");
}

int runDataEntryDialog(QWidget* owner) {
    DataEntryDialog dialog(owner);
    return dialog.exec();
}

void setPartialDeliveryHook(PartialDeliveryHook hook) {
    partialDeliveryHook() = std::move(hook);
}

void setExistingDataHook(ExistingDataHook hook) {
    existingDataHook() = std::move(hook);
}

}  // namespace belvorine
