#include "platform/devices/device_broadcast.h"

#include <algorithm>
#include <cstring>

namespace devices {

DeviceBroadcast::DeviceBroadcast(REFGUID interfaceClass, std::u16string_view devicePath)
    : size_(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) +
            (devicePath.size() + 1) * sizeof(WCHAR)) {
    storage_.assign((std::max(size_, sizeof(DEV_BROADCAST_DEVICEINTERFACE_W)) + 3) / 4, 0);
    DEV_BROADCAST_DEVICEINTERFACE_W header{};
    header.dbcc_size = static_cast<DWORD>(size_);
    header.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    header.dbcc_reserved = 0;
    header.dbcc_classguid = interfaceClass;
    auto* bytes = reinterpret_cast<std::uint8_t*>(storage_.data());
    constexpr std::size_t kNameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    std::memcpy(bytes, &header, kNameOffset);
    // The terminator is already there: the storage starts zeroed.
    std::memcpy(bytes + kNameOffset, devicePath.data(), devicePath.size() * sizeof(WCHAR));
}

}  // namespace devices
