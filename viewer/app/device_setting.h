// The "Capture Device" setting (REG_SZ in the settings key): the capture hardware to watch
// when no --device is given, in the same form as --device. Absent unless the user adds it; it
// is not one of the values written at first run.
#pragma once

#include <optional>
#include <string>

inline constexpr const char16_t* kCaptureDeviceValue = u"Capture Device";

// The value, read without creating the settings key; nothing when the key or the value is
// missing, empty or not a string.
std::optional<std::string> ReadCaptureDeviceSetting();
