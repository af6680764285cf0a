// Alarm bits of the raised alarms and of the masks handed to the alarm: bit (n - 1) for channel
// n, 0x10 for the removal of the device.
#pragma once

#include <cstdint>

inline constexpr std::uint32_t AlarmChannel1 = 0x01;
inline constexpr std::uint32_t AlarmChannel2 = 0x02;
inline constexpr std::uint32_t AlarmChannel3 = 0x04;
inline constexpr std::uint32_t AlarmChannel4 = 0x08;
inline constexpr std::uint32_t AlarmDeviceRemoved = 0x10;
// Every bit that raises an alarm.
inline constexpr std::uint32_t kAlarmBits = 0x1F;
