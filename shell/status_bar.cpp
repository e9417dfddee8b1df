#include "shell/status_bar.h"

#include <QLabel>

#include "platform/screen_metrics.h"
#include "shell/status_texts.h"

namespace belvorine {

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("StatusBar"));
    setSizeGripEnabled(true);
    for (int i = 0; i < 3; ++i) {
        parts_[i] = new QLabel(this);
        parts_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        parts_[i]->setTextFormat(Qt::PlainText);
        // The clock takes what is left beside the size grip.
        addWidget(parts_[i], i == 2 ? 1 : 0);
    }
    setContentsMargins(0, 0, 0, 0);
    layoutParts(parent ? parent->width() : 800);
}

void StatusBar::setStatusText(const QString& text) {
    parts_[0]->setText(text);
}

void StatusBar::setPositionText(const Rect& mmRect) {
    parts_[1]->setText(positionText(mmRect));
}

void StatusBar::clearPositionText() {
    parts_[1]->clear();
}

void StatusBar::showClock() {
    const QString text = clockText(localNow());
    // The timer ticks every second; the text changes once a minute.
    if (parts_[2]->text() != text) {
        parts_[2]->setText(text);
    }
}

void StatusBar::layoutParts(int clientWidth) {
    const std::array<int, 3> edges = statusPartEdges(clientWidth, screenMetrics().dpiX);
    parts_[0]->setFixedWidth(std::max(0, edges[0]));
    parts_[1]->setFixedWidth(std::max(0, edges[1] - edges[0]));
    setStatusText(idleStatusText());
}

QString StatusBar::partText(int part) const {
    return parts_[part]->text();
}

}  // namespace belvorine
