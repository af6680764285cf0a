#include "viewer/main_window/udev_event.h"

#include <cctype>

#include "platform/base/utf16.h"
#include "platform/devices/device_broadcast.h"

namespace {

std::string Upper(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

// Keeps the characters that cannot break the path's '#'-separated parts.
std::string PathPart(std::string_view text) {
    std::string result;
    for (const char c : text)
        if (c != '#' && c != '\\' && static_cast<unsigned char>(c) >= 0x20) result += c;
    return result;
}

}  // namespace

std::optional<UINT> DeviceEventOf(std::string_view action) {
    if (action == "add") return devices::DBT_DEVICEARRIVAL;
    if (action == "remove") return devices::DBT_DEVICEREMOVECOMPLETE;
    return std::nullopt;
}

std::u16string CaptureInterfacePath(const UdevDeviceInfo& device) {
    const std::string bus = device.bus.empty() ? std::string("ROOT") : Upper(PathPart(device.bus));
    const std::string vendor = device.vendorId.empty() ? "0000" : Upper(PathPart(device.vendorId));
    const std::string model = device.modelId.empty() ? "0000" : Upper(PathPart(device.modelId));
    const std::string instance =
        device.serial.empty() ? PathPart(device.sysName) : PathPart(device.serial);
    const std::string path = "\\\\?\\" + bus + "#VID_" + vendor + "&PID_" + model + "#" + instance +
                             "#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";
    return utf16::FromUtf8(path);
}
