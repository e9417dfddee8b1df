#include "shell/status_bar.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include "platform/screen_metrics.h"
#include "shell/status_texts.h"

namespace belvorine {

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("StatusBar"));
    setSizeGripEnabled(true);
    layoutParts(parent ? parent->width() : 800);
}

QSize StatusBar::minimumSizeHint() const {
    // The parts never widen the window: they are cut where it is narrow.
    return QSize(0, fontMetrics().height() + 8);
}

void StatusBar::setPart(int part, const QString& text) {
    if (texts_[part] != text) {
        texts_[part] = text;
        update();
    }
}

void StatusBar::setStatusText(const QString& text) {
    setPart(0, text);
}

void StatusBar::setPositionText(const Rect& mmRect) {
    setPart(1, positionText(mmRect));
}

void StatusBar::clearPositionText() {
    setPart(1, QString());
}

void StatusBar::showClock() {
    // The timer ticks every second; the text changes once a minute.
    setPart(2, clockText(localNow()));
}

// Room for a text in a part: its width in the bar's font and the part's
// frame and margins (paintEvent).
int StatusBar::partWidthFor(const QString& text) const {
    return fontMetrics().horizontalAdvance(text) + kPartPadding;
}

void StatusBar::layoutParts(int clientWidth) {
    // The widest texts the parts show: four-digit millimetres, a two-digit
    // date and time.
    const int position = partWidthFor(positionText(Rect{888800, 888800, 1777600, 1777600}));
    const int clock = partWidthFor(clockText(LocalTime{2888, 12, 28, 23, 58, 0}));
    edges_ = statusPartEdges(clientWidth, screenMetrics().dpiX, position, clock);
    setStatusText(idleStatusText());
    update();
}

void StatusBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.frameShape = QFrame::Panel;
    frame.state |= QStyle::State_Sunken;
    frame.lineWidth = 1;
    int left = 0;
    for (int part = 0; part < 3; ++part) {
        const int right = std::max(left, edges_[part]);
        frame.rect = QRect(left, 1, right - left - 2, height() - 2);
        // kPartPadding: these 2 pixels, the 3 + 2 of the text's margins and
        // 3 to spare.
        style()->drawPrimitive(QStyle::PE_FrameStatusBarItem, &frame, &painter, this);
        painter.drawText(frame.rect.adjusted(3, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                         texts_[part]);
        left = right;
    }
}

}  // namespace belvorine
