#include "platform/local_clock.h"

#include <ctime>

namespace belvorine {
namespace {

std::function<LocalTime()>& testClock() {
    static std::function<LocalTime()> clock;
    return clock;
}

}  // namespace

LocalTime localNow() {
    if (testClock()) {
        return testClock()();
    }
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                     parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

void setClockForTesting(std::function<LocalTime()> clock) {
    testClock() = std::move(clock);
}

}  // namespace belvorine
