#pragma once
// Driving a modal dialog from outside its event loop: a step that runs as
// soon as the next modal dialog is on screen (the one open now does not
// count). Shared by the widget tests and the fault scenario program.

#include <functional>

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace belvorine::test {

inline void whenNextDialogIsUp(std::function<void(QWidget*)> step) {
    QWidget* before = QApplication::activeModalWidget();
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, before, step] {
        QWidget* now = QApplication::activeModalWidget();
        if (!now || now == before || !now->isVisible()) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        step(now);
    });
    timer->start();
}

}  // namespace belvorine::test
