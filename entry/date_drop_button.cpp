#include "entry/date_drop_button.h"

#include <QCalendarWidget>
#include <QMenu>
#include <QWidgetAction>

#include "platform/local_clock.h"

namespace belvorine {

DateDropButton::DateDropButton(QWidget* parent) : QToolButton(parent) {
    const LocalTime today = localNow();
    date_ = QDate(today.year, today.month, today.day);
    setArrowType(Qt::DownArrow);
    connect(this, &QToolButton::clicked, this, &DateDropButton::openCalendar);
}

void DateDropButton::pickDate(const QDate& date) {
    if (menu_ != nullptr) {
        menu_->close();
    }
    if (!date.isValid()) {
        return;
    }
    date_ = date;
    emit datePicked(date);
}

void DateDropButton::openCalendar() {
    // Made at the first click: five calendars with their images would make
    // up a third of the data entry dialog's opening.
    if (menu_ == nullptr) {
        menu_ = new QMenu(this);
        calendar_ = new QCalendarWidget(menu_);
        calendar_->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
        auto* action = new QWidgetAction(menu_);
        action->setDefaultWidget(calendar_);
        menu_->addAction(action);
        connect(calendar_, &QCalendarWidget::clicked, this, &DateDropButton::pickDate);
        connect(calendar_, &QCalendarWidget::activated, this, &DateDropButton::pickDate);
    }
    calendar_->setSelectedDate(date_);
    menu_->popup(mapToGlobal(QPoint(0, height())));
}

}  // namespace belvorine
