// AlarmState: the main window's alarm and lock record (created with the window, freed with it).
#pragma once

#include <cstdint>

// Alarm bits of `raisedAlarms` and of the masks handed to the alarm: bit (n - 1) for channel n,
// 0x10 for the removal of the device.
inline constexpr std::uint32_t AlarmChannel1 = 0x01;
inline constexpr std::uint32_t AlarmChannel2 = 0x02;
inline constexpr std::uint32_t AlarmChannel3 = 0x04;
inline constexpr std::uint32_t AlarmChannel4 = 0x08;
inline constexpr std::uint32_t AlarmDeviceRemoved = 0x10;

struct AlarmState {
    std::int32_t lockCountdown = 0;  // seconds until the automatic lock; -1 while locked
    std::uint32_t raisedAlarms = 0;  // alarm bits raised and not yet acknowledged
    std::int32_t alarmShown = 0;     // 1 while the Alarm button is shown
    std::int32_t locked = 1;         // 1 while the controls are locked
};
