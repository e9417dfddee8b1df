#pragma once
// The local date and time, replaceable by tests.

#include <functional>

namespace belvorine {

struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

LocalTime localNow();

// Replaces the clock; an empty function restores the system clock.
void setClockForTesting(std::function<LocalTime()> clock);

}  // namespace belvorine
