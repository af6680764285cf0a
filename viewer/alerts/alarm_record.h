// AlarmRecord: the alarms raised and not yet acknowledged, and whether the Alarm button shows.
#pragma once

#include <cstdint>

struct AlarmRecord {
    std::uint32_t raisedAlarms = 0;  // alarm bits raised and not yet acknowledged
    std::int32_t alarmShown = 0;     // 1 while the Alarm button is shown
};
