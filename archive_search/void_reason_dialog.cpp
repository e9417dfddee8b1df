#include "archive_search/void_reason_dialog.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "archive/csv_export.h"
#include "archive/register_entry.h"
#include "archive_search/archive_search_ids.h"
#include "archive_search/register_rows_model.h"
#include "widgets/dialog_base.h"
#include "widgets/message_box.h"
#include "widgets/sjis_input.h"

namespace belvorine {
namespace {

using namespace void_reason;

constexpr int kReasonBytes = 200;

class VoidReasonDialog : public BelvorineDialog {
public:
    VoidReasonDialog(QWidget* owner, const RegisterEntry& entry)
        : BelvorineDialog(owner, QStringLiteral("ＭＳ ゴシック"), 10) {
        setWindowTitle(QStringLiteral("記録の取消"));
        setHelpTopic(QStringLiteral("::/archive.html"));
        auto* layout = new QVBoxLayout(this);
        auto* document = withControlId(
            new QLabel(QStringLiteral("%1　%2　￥%3\n%4")
                           .arg(displayDate(entry.orderDate), entry.counterparty,
                                groupedYen(entry.total), entry.fileName),
                       this),
            kDocument);
        layout->addWidget(document);
        layout->addWidget(new QLabel(
            QStringLiteral("この記録を取り消します。記録は消えずに「取消」と理由が残ります。\n"
                           "取消の理由："),
            this));
        reason_ = withControlId(new QLineEdit(this), kReason);
        reason_->setMinimumWidth(reason_->fontMetrics().averageCharWidth() * 60);
        limitSjisInput(reason_, kReasonBytes);
        useJapaneseInput(reason_);
        layout->addWidget(reason_);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch(1);
        addDialogButtons(buttons, this, kOk);
        layout->addLayout(buttons);
    }

    QString reason() const { return reason_->text().trimmed(); }

    void accept() override {
        if (reason().isEmpty()) {
            showWarning(this, QStringLiteral("確認"), QStringLiteral("取消の理由を入力して下さい。"));
            reason_->setFocus();
            return;
        }
        BelvorineDialog::accept();
    }

private:
    QLineEdit* reason_;
};

}  // namespace

std::optional<QString> askVoidReason(QWidget* owner, const RegisterEntry& entry) {
    VoidReasonDialog dialog(owner, entry);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.reason();
}

}  // namespace belvorine
