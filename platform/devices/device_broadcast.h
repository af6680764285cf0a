// The device-interface broadcast record that goes with a device arrival or removal: a 28-byte
// header (size, device type 5, reserved, interface class at offset 12) followed by the device
// path as NUL-terminated UTF-16 from offset 28.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/com/guid.h"

namespace devices {

// Device-change events.
inline constexpr UINT DBT_DEVICEARRIVAL = 0x8000;
inline constexpr UINT DBT_DEVICEREMOVECOMPLETE = 0x8004;
// Record kind of a device-interface broadcast.
inline constexpr DWORD DBT_DEVTYP_DEVICEINTERFACE = 5;

// The capture device interface class, {65E8773D-8F56-11D0-A3B9-00A0C9223196}.
inline constexpr GUID KSCATEGORY_CAPTURE = {
    0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

// The record's layout; the name runs on past the end of the structure.
struct DEV_BROADCAST_DEVICEINTERFACE_W {
    DWORD dbcc_size;        // bytes of the whole record, name and terminator included
    DWORD dbcc_devicetype;  // DBT_DEVTYP_DEVICEINTERFACE
    DWORD dbcc_reserved;
    GUID dbcc_classguid;
    WCHAR dbcc_name[1];
};
static_assert(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_classguid) == 12);
static_assert(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) == 28);
static_assert(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) == 32);

// The simulated grabber's device path.
inline constexpr std::u16string_view kSimulatedDevicePath =
    u"\\\\?\\USB#VID_0000&PID_0004#QV4IN0001#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";

// One broadcast record in its own suitably aligned storage.
class DeviceBroadcast {
  public:
    DeviceBroadcast(REFGUID interfaceClass, std::u16string_view devicePath);

    const DEV_BROADCAST_DEVICEINTERFACE_W* Record() const {
        return reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(storage_.data());
    }
    const std::uint8_t* Bytes() const {
        return reinterpret_cast<const std::uint8_t*>(storage_.data());
    }
    std::size_t Size() const { return size_; }

  private:
    // Immutable after construction.
    std::vector<std::uint32_t> storage_;  // 4-byte aligned, as the record's fields need
    std::size_t size_;
};

}  // namespace devices
