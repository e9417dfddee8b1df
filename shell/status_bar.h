#pragma once
// The status bar: part 0 status and help texts, part 1 the position of the
// frame being edited, part 2 the clock. The parts end at fixed distances from
// the window's right edge, as the original's status window divides itself.

#include <QStatusBar>

#include "records/records.h"

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

    QString partText(int part) const { return texts_[part]; }
    // The right edge of `part` in the bar's coordinates.
    int partEdge(int part) const { return edges_[part]; }

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void setPart(int part, const QString& text);
    int partWidthFor(const QString& text) const;

    static constexpr int kPartPadding = 10;

    QString texts_[3];
    std::array<int, 3> edges_{};
};

}  // namespace belvorine
