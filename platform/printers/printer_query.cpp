#include "platform/printers/printer_query.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QThread>
#include <QWidget>

namespace belvorine {
namespace {

bool onGuiThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return qobject_cast<const QApplication*>(app) && QThread::currentThread() == app->thread();
}

}  // namespace

struct PrinterQuery::State {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
};

PrinterQuery::PrinterQuery(std::function<void()> call) : state_(std::make_shared<State>()) {
    // Detached: a call that never returns must not keep anyone waiting for
    // it, not even the end of the program.
    std::thread([state = state_, call = std::move(call)]() {
        call();
        const std::lock_guard<std::mutex> lock(state->mutex);
        state->done = true;
        state->ended.notify_all();
    }).detach();
}

PrinterQuery::~PrinterQuery() = default;

int PrinterQuery::wait(int timeoutMs) {
    const auto endedWithin = [this](int ms) {
        std::unique_lock<std::mutex> lock(state_->mutex);
        return state_->ended.wait_for(lock, std::chrono::milliseconds(ms),
                                      [this] { return state_->done; });
    };
    // A scheduler that answers does so at once: no cursor, no flicker.
    if (endedWithin(50)) {
        return 1;
    }
    QPointer<QWidget> window = onGuiThread() ? QApplication::activeWindow() : nullptr;
    const bool disable = window && window->isEnabled();
    if (disable) {
        // Clicks while waiting go nowhere rather than starting a command.
        window->setEnabled(false);
    }
    if (window) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    QElapsedTimer timer;
    timer.start();
    bool done = false;
    while (!(done = endedWithin(20)) && (timeoutMs < 0 || timer.elapsed() < timeoutMs)) {
        if (window) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
    }
    if (window) {
        QApplication::restoreOverrideCursor();
    }
    if (disable && window) {
        window->setEnabled(true);
    }
    return done ? 1 : 0;
}

int runPrinterQuery(std::function<void()> call, int timeoutMs) {
    if (!onGuiThread()) {
        // Already off the windows' thread (or no windows at all): nothing
        // to keep painted.
        call();
        return 1;
    }
    PrinterQuery query(std::move(call));
    return query.wait(timeoutMs);
}

}  // namespace belvorine
