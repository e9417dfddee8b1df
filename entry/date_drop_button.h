#pragma once
// A date picker of which only the drop-down button shows: it opens a
// calendar, and the date chosen there is reported. It starts at today and
// keeps the last date chosen.

#include <QDate>
#include <QToolButton>

class QCalendarWidget;
class QMenu;

namespace belvorine {

class DateDropButton : public QToolButton {
    Q_OBJECT
public:
    explicit DateDropButton(QWidget* parent);

    QDate date() const { return date_; }

    // Takes `date` as if it had been chosen in the calendar.
    void pickDate(const QDate& date);

signals:
    void datePicked(const QDate& date);

private:
    void openCalendar();

    QDate date_;
    QMenu* menu_ = nullptr;  // with the calendar, from the first click on
    QCalendarWidget* calendar_ = nullptr;
};

}  // namespace belvorine
