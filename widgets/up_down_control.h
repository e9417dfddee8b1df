#pragma once
// An up-down control bound to a line edit that holds a whole number: its
// arrows and the arrow keys in the edit step the number through a range,
// wrapping at the ends, and write it into the edit without separators.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace belvorine {

class UpDownControl : public QWidget {
    Q_OBJECT
public:
    UpDownControl(QLineEdit* buddy, int minimum, int maximum, QWidget* parent);

    void setRange(int minimum, int maximum);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }

    // One step up (+1) or down (-1) from the number in the edit; when the
    // edit holds no number of the range, from the last position.
    void step(int direction);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* buddy_;
    QToolButton* up_;
    QToolButton* down_;
    int minimum_ = 0;
    int maximum_ = 0;
    int position_ = 0;
};

}  // namespace belvorine
