#include "widgets/up_down_control.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace belvorine {
namespace {

QToolButton* arrowButton(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    button->setFixedWidth(16);
    return button;
}

}  // namespace

UpDownControl::UpDownControl(QLineEdit* buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), buddy_(buddy) {
    up_ = arrowButton(Qt::UpArrow, this);
    down_ = arrowButton(Qt::DownArrow, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    setFixedHeight(buddy->sizeHint().height());
    setRange(minimum, maximum);
    connect(up_, &QToolButton::clicked, this, [this] { step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
    buddy->installEventFilter(this);
}

void UpDownControl::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = qMax(minimum, maximum);
    position_ = qBound(minimum_, position_, maximum_);
}

void UpDownControl::step(int direction) {
    bool isNumber = false;
    const int typed = buddy_->text().trimmed().toInt(&isNumber);
    if (isNumber && typed >= minimum_ && typed <= maximum_) {
        position_ = typed;
    }
    position_ += direction;
    if (position_ > maximum_) {
        position_ = minimum_;
    } else if (position_ < minimum_) {
        position_ = maximum_;
    }
    buddy_->setText(QString::number(position_));
}

bool UpDownControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == buddy_ && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace belvorine
