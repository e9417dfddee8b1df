#include "print/print_progress_dialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>

namespace belvorine {

PrintProgressDialog::PrintProgressDialog(QWidget* owner)
    : BelvorineDialog(owner, QStringLiteral("ＭＳ Ｐゴシック"), 9), bar_(new QProgressBar(this)) {
    // A window of its own, so that it stays usable while its owner, the
    // main window, is disabled for the job; it still stays above it.
    setParent(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    if (owner) {
        winId();
        owner->winId();
        windowHandle()->setTransientParent(owner->windowHandle());
    }
    setWindowTitle(QStringLiteral("印刷実行 --- ベルヴォリン Ver.4"));
    setModal(false);
    auto* text = new QLabel(QStringLiteral("「印刷実行中」　しばらくお待ちください。"), this);
    setControlId(bar_, print_progress::kBar);
    bar_->setRange(0, 3);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    auto* abort = new QPushButton(QStringLiteral("印刷中止"), this);
    setControlId(abort, 2);
    abort->setAutoDefault(false);
    connect(abort, &QPushButton::clicked, this, &PrintProgressDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text, 0, Qt::AlignCenter);
    layout->addWidget(bar_);
    layout->addWidget(abort, 0, Qt::AlignCenter);
    setMinimumWidth(320);
}

void PrintProgressDialog::setProgress(int page) {
    bar_->setValue(page);
}

int PrintProgressDialog::progress() const {
    return bar_->value();
}

void PrintProgressDialog::reject() {
    if (!aborted_) {
        aborted_ = true;
        emit abortRequested();
    }
    hide();
}

}  // namespace belvorine
