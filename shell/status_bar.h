#pragma once
// The status bar: part 0 status and help texts, part 1 the position of the
// frame being edited, part 2 the clock.

#include <QStatusBar>

#include "data/records.h"

class QLabel;

namespace belvorine {

class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusBar(QWidget* parent);

    void setStatusText(const QString& text);
    void setPositionText(const Rect& mmRect);
    void clearPositionText();
    void showClock();

    // Recomputes the part edges for the window's client width; part 0 then
    // shows its idle text again.
    void layoutParts(int clientWidth);

    QString partText(int part) const;

private:
    QLabel* parts_[3];
};

}  // namespace belvorine
