#include "entry/partial_delivery_dialog.h"
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "data/order_numbers.h"
#include "data/order_record.h"
#include "entry/data_entry_dialog.h"
#include "entry/data_entry_ids.h"
#include "entry/entry_fields.h"
#include "entry/history_dialog_ids.h"
#include "entry/working_order.h"
#include "form/amount_format.h"
#include "widgets/dialog_base.h"
#include "widgets/message_box.h"
#include "widgets/sjis_input.h"

namespace belvorine {
namespace {

using namespace partial_delivery;

constexpr int kParts = 5;
constexpr std::size_t kTotalQuantityBytes = sizeof(OrderLine::totalQuantity) - 1;

// A number printed with "%8.0f" or "%8.2f" without its leading blanks.
std::string_view afterLastBlank(std::string_view text) {
    const std::size_t blank = text.rfind(' ');
    return blank == std::string_view::npos ? text : text.substr(blank + 1);
}

class PartialDeliveryDialog : public BelvorineDialog {
public:
    PartialDeliveryDialog(QWidget* owner, int line);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLayout* buildButtons();
    bool readParts();
    void showTotal();
    bool confirmTotal(const std::string& total);
    bool confirmOverwrite();
    void accept() override;

    int line_;
    std::string before_;  // the line's quantity before the split
    std::string parts_[kParts];
    QLineEdit* edits_[kParts] = {};
    QLabel* after_ = nullptr;
};

PartialDeliveryDialog::PartialDeliveryDialog(QWidget* owner, int line)
    : BelvorineDialog(owner, QStringLiteral("ＭＳ Ｐゴシック"), 10), line_(line) {
    setWindowTitle(QStringLiteral("分納内訳"));
    setHelpTopic(QStringLiteral("::/bunnou.html"));
    before_ = afterLastBlank(sjisView(workingOrder().lines[line - 1].quantity));

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    const auto sunken = [this](int id) {
        QLabel* label = makeLabel(QString(), id, this);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000,000,000.00")));
        return label;
    };
    grid->addWidget(makeLabel(QStringLiteral("総発注数量(分納前数量)"), kBeforeLabel, this), 0, 0);
    QLabel* before = sunken(kBefore);
    before->setText(fromRecordText(groupThousands(before_)));
    grid->addWidget(before, 0, 1);
    static const char* const kDigits[kParts] = {"１", "２", "３", "４", "５"};
    for (int k = 0; k < kParts; ++k) {
        grid->addWidget(makeLabel(QStringLiteral("分納数量 %1").arg(QString::fromUtf8(kDigits[k])),
                                  kPartLabel1 + k, this),
                        k + 1, 0);
        edits_[k] = makeNumberEdit(kPart1 + k, data_entry::kQuantityBytes, false, this);
        // The partial lines take lines n to 5: only 6 - n edits are usable.
        setEditable(edits_[k], k + 1 <= 6 - line);
        edits_[k]->installEventFilter(this);
        grid->addWidget(edits_[k], k + 1, 1);
    }
    grid->addWidget(makeLabel(QStringLiteral("総発注数量(分納後数量)"), kAfterLabel, this),
                    kParts + 1, 0);
    after_ = sunken(kAfter);
    grid->addWidget(after_, kParts + 1, 1);
    layout->addLayout(grid);
    QLabel* note = makeLabel(QStringLiteral("既存データには総発注数量(分納後数量)で保存されます。"),
                             kNote, this);
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addLayout(buildButtons());
    edits_[0]->setFocus();
}

QLayout* PartialDeliveryDialog::buildButtons() {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    addDialogButtons(row, this, kOk);
    return row;
}

bool PartialDeliveryDialog::eventFilter(QObject* watched, QEvent* event) {
    for (int k = 0; k < kParts; ++k) {
        if (watched != edits_[k]) {
            continue;
        }
        if (entersField(event)) {
            parts_[k] = typedNumber(edits_[k]);
            edits_[k]->setText(fromRecordText(parts_[k]));
        } else if (leavesField(event) &&
                   keepsTypedNumber(edits_[k], NumberField::Quantity, false)) {
            parts_[k] = typedNumber(edits_[k]);
            showTotal();
            edits_[k]->setText(fromRecordText(groupThousands(parts_[k])));
        }
    }
    return BelvorineDialog::eventFilter(watched, event);
}

// False, with the field refused, when a part is not a quantity its line
// keeps as typed.
bool PartialDeliveryDialog::readParts() {
    for (int k = 0; k < kParts; ++k) {
        if (!keepsTypedNumber(edits_[k], NumberField::Quantity, true)) {
            return false;
        }
        parts_[k] = typedNumber(edits_[k]);
    }
    return true;
}

void PartialDeliveryDialog::showTotal() {
    after_->setText(fromRecordText(groupThousands(partialTotal(parts_))));
}

bool PartialDeliveryDialog::confirmTotal(const std::string& total) {
    if (numberOf(before_) == numberOf(total)) {
        return true;
    }
    const QString text = QStringLiteral(
                             "分納前の総発注数量 ： %1\n分納後の総発注数量 ： %2\n\n"
                             "総発注数量が分納前と違いますがよろしいですか？")
                             .arg(fromRecordText(before_), fromRecordText(afterLastBlank(total)));
    return showMessage({this, QStringLiteral("確認"), text, MessageIcon::None,
                        MessageButtons::YesNo}) == kResultYes;
}

// The partial lines overwrite the lines below the split; filled ones are
// only overwritten when the user agrees.
bool PartialDeliveryDialog::confirmOverwrite() {
    int count = 0;
    for (const std::string& part : parts_) {
        count += part.empty() ? 0 : 1;
    }
    QStringList filled;
    for (int line = line_ + 1; line < line_ + count && line <= kOrderLineCount; ++line) {
        if (!isEmptyLine(workingOrder().lines[line - 1])) {
            filled << QString::number(line);
        }
    }
    if (filled.isEmpty()) {
        return true;
    }
    const QString text = QStringLiteral(
                             "明細 %1 行目は分納の明細で上書きされます。\n\n"
                             "よろしいですか？")
                             .arg(filled.join(QStringLiteral("・")));
    return showMessage({this, QStringLiteral("確認"), text, MessageIcon::Question,
                        MessageButtons::YesNo}) == kResultYes;
}

void PartialDeliveryDialog::accept() {
    // Read from the edits, not from the total shown: Enter in the last edit
    // presses OK without leaving it.
    if (!readParts()) {
        return;
    }
    const std::string total = partialTotal(parts_);
    showTotal();
    if (!confirmTotal(total)) {
        return;
    }
    if (total.size() > kTotalQuantityBytes) {
        showWarning(this, QStringLiteral("確認"),
                    QStringLiteral("分納後の総発注数量が大きすぎます！！"));
        return;
    }
    if (!confirmOverwrite()) {
        return;
    }
    splitWorkingLine(workingOrder(), line_, parts_, total);
    done(1);
}

}  // namespace

std::string partialTotal(const std::string (&parts)[5]) {
    double sum = 0;
    for (const std::string& part : parts) {
        sum += numberOf(part);
    }
    return quantityText(sum);
}

int splitWorkingLine(WorkingOrder& working, int line, const std::string (&parts)[5],
                     const std::string& total) {
    int target = line;
    for (const std::string& part : parts) {
        if (part.empty()) {
            continue;
        }
        if (target > kOrderLineCount) {
            break;
        }
        OrderLine copy = working.lines[line - 1];
        copySjis(copy.quantity, part);
        copy.splitFrom = line;
        copySjis(copy.totalQuantity, total);
        std::string amount;
        copySjis(copy.amount, lineAmount(part, sjisView(copy.unitPrice), amount) ? amount : "");
        working.lines[target - 1] = copy;
        ++target;
    }
    return target - line;
}

int splitDelivery(DataEntryDialog& dialog, int line) {
    if (line < 1 || line > kOrderLineCount - 1) {
        return 2;
    }
    PartialDeliveryDialog split(&dialog, line);
    return split.exec() == 1 ? 1 : 2;
}

}  // namespace belvorine
