#include "platform/screen_metrics.h"

#include <QGuiApplication>
#include <QScreen>

namespace belvorine {

ScreenMetrics& screenMetrics() {
    static ScreenMetrics metrics;
    return metrics;
}

int readScreenMetrics() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return 0;
    }
    ScreenMetrics& metrics = screenMetrics();
    metrics.dpiX = qRound(screen->logicalDotsPerInchX());
    metrics.dpiY = qRound(screen->logicalDotsPerInchY());
    metrics.width = screen->geometry().width();
    metrics.height = screen->geometry().height();
    return metrics.dpiX != 0 && metrics.dpiY != 0;
}

}  // namespace belvorine
