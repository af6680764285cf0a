// The local date and time the overlay stamps into frames, and the clock that supplies it.
#pragma once

#include <functional>

struct StampTime {
    int year = 0;
    int month = 0;  // 1-12
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

using StampClock = std::function<StampTime()>;

// The current local time in the process's time zone. Safe on any thread.
StampTime LocalStampTime();
