// What a udev event of the video4linux subsystem means as a device-interface notification: the
// event (arrival or removal) and the device path of a capture-class interface, "\\?\USB#..." for
// a device on the USB bus as the capture-device notifications of the viewer expect.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/base/win_types.h"

struct UdevDeviceInfo {
    std::string_view action;    // "add", "remove", "change", ...
    std::string_view bus;       // ID_BUS ("usb", "pci", ...), may be empty
    std::string_view vendorId;  // ID_VENDOR_ID, may be empty
    std::string_view modelId;   // ID_MODEL_ID, may be empty
    std::string_view serial;    // ID_SERIAL_SHORT, may be empty
    std::string_view sysName;   // the kernel's name of the node, e.g. "video0"
};

// DBT_DEVICEARRIVAL for "add", DBT_DEVICEREMOVECOMPLETE for "remove", nothing for the others.
std::optional<UINT> DeviceEventOf(std::string_view action);

// "\\?\<BUS>#VID_<vendor>&PID_<model>#<serial or node name>#{capture class}\global", the bus in
// upper case ("ROOT" when udev names none), vendor and model in upper case ("0000" when missing).
std::u16string CaptureInterfacePath(const UdevDeviceInfo& device);
