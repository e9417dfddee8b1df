#pragma once
// Printing-system calls that may block: a scheduler that does not answer,
// or a network queue whose printer is off, must never freeze a window or
// hang the start-up.

#include <functional>
#include <memory>
#include <optional>

namespace belvorine {

// How long the start-up waits for the printer list, and a print or a paper
// query for a CUPS queue, before giving the printer up as not answering.
inline constexpr int kPrinterListTimeoutMs = 5000;
inline constexpr int kPrinterQueryTimeoutMs = 15000;

// A call to the printing system running on a thread of its own. The call
// must own everything it touches: after a timeout it runs on unseen.
class PrinterQuery {
public:
    explicit PrinterQuery(std::function<void()> call);
    ~PrinterQuery();
    PrinterQuery(const PrinterQuery&) = delete;
    PrinterQuery& operator=(const PrinterQuery&) = delete;

    // Waits at most `timeoutMs` (negative: without a limit) for the call to
    // end; 1 when it ended. While it waits with a window on screen, the
    // window is disabled, shows the wait cursor and keeps being painted.
    int wait(int timeoutMs);

private:
    struct State;
    std::shared_ptr<State> state_;
};

// Runs `call` as a PrinterQuery and waits for it; 0 when it did not end in
// time. Off the windows' thread, or without a QApplication, `call` simply
// runs.
int runPrinterQuery(std::function<void()> call, int timeoutMs);

// Runs `ask` with runPrinterQuery and gives what it returned; nothing when it
// did not end in time. The answer is kept where a call that ends after the
// timeout can still put it.
template <typename Ask>
auto askPrintingSystem(Ask ask, int timeoutMs) -> std::optional<decltype(ask())> {
    auto answer = std::make_shared<std::optional<decltype(ask())>>();
    if (!runPrinterQuery([answer, ask]() { *answer = ask(); }, timeoutMs)) {
        return std::nullopt;
    }
    return std::move(*answer);
}

}  // namespace belvorine
