#include "preview/zoom_dialog.h"

#include <algorithm>

#include <QComboBox>
#include <QGridLayout>
#include <QPushButton>

#include "data/settings_state.h"
#include "preview/preview_shared.h"
#include "widgets/help.h"

namespace belvorine {
namespace {

QPushButton* button(QWidget* parent, const QString& text, int id) {
    auto* widget = new QPushButton(text, parent);
    setControlId(widget, id);
    widget->setAutoDefault(false);
    return widget;
}

}  // namespace

ZoomDialog::ZoomDialog(QWidget* owner)
    : BelvorineDialog(owner, QStringLiteral("ＭＳ Ｐゴシック"), 9),
      list_(new QComboBox(this)),
      zoomOut_(button(this, QStringLiteral("縮小"), kZoomOutButton)),
      zoomIn_(button(this, QStringLiteral("拡大"), kZoomInButton)) {
    setWindowTitle(QStringLiteral("拡大／縮小"));
    setControlId(list_, kZoomList);
    for (int value = kMinimumZoom; value <= kMaximumZoom; value += kZoomStep) {
        list_->addItem(QString::number(value), value);
    }
    // A stored zoom that is not on the list (an older settings file) stays
    // as it is until the user chooses another.
    working_ = previewZoomPercent();
    auto* ok = button(this, QStringLiteral("OK"), kZoomOk);
    ok->setDefault(true);
    auto* cancel = button(this, QStringLiteral("ｷｬﾝｾﾙ"), kZoomCancel);

    auto* grid = new QGridLayout(this);
    grid->addWidget(list_, 0, 0, 1, 2);
    grid->addWidget(zoomOut_, 1, 0);
    grid->addWidget(zoomIn_, 1, 1);
    grid->addWidget(ok, 2, 0);
    grid->addWidget(cancel, 2, 1);

    showWorkingValue();
    connect(list_, &QComboBox::activated, this, &ZoomDialog::choose);
    connect(zoomOut_, &QPushButton::clicked, this, [this]() { step(-kZoomStep); });
    connect(zoomIn_, &QPushButton::clicked, this, [this]() { step(kZoomStep); });
    connect(ok, &QPushButton::clicked, this, &ZoomDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &ZoomDialog::reject);
}

void ZoomDialog::showWorkingValue() {
    list_->setCurrentIndex(list_->findData(working_));
    zoomOut_->setEnabled(working_ > kMinimumZoom);
    zoomIn_->setEnabled(working_ < kMaximumZoom);
}

void ZoomDialog::step(int delta) {
    working_ = std::clamp(working_ + delta, kMinimumZoom, kMaximumZoom);
    showWorkingValue();
}

void ZoomDialog::choose(int index) {
    if (index >= 0) {
        working_ = list_->itemData(index).toInt();
        showWorkingValue();
    }
}

void ZoomDialog::accept() {
    settings().initialData.zoomPercent = std::clamp(working_, kMinimumZoom, kMaximumZoom);
    done(1);
}

int runZoomDialog(QWidget* owner) {
    ZoomDialog dialog(owner);
    return dialog.exec() == 1 ? 1 : 2;
}

}  // namespace belvorine
