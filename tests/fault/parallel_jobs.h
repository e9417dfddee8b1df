#pragma once
// Runs the independent runs of a fault sweep on every core.

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

#include <QThread>

namespace belvorine::test {

// Calls run(i) for every i below `count`, on as many threads as there are
// cores, and returns when all are done.
template <typename Run>
void runOnEveryCore(std::size_t count, Run run) {
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> workers;
    for (int i = 0; i < std::max(1, QThread::idealThreadCount()); ++i) {
        workers.emplace_back([&]() {
            for (std::size_t job = next++; job < count; job = next++) {
                run(job);
            }
        });
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
}

}  // namespace belvorine::test
