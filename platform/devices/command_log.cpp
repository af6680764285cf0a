#include "platform/devices/command_log.h"

#include <algorithm>
#include <cstring>

namespace devices {

LoggedBlock CommandLog::Begin(PropertyAccess access, DWORD id, std::chrono::nanoseconds time,
                              const void* data, DWORD dataBytes) {
    LoggedBlock entry;
    entry.access = access;
    entry.propertyId = id;
    entry.time = time;
    if (data) {
        entry.length = static_cast<std::uint8_t>(std::min<DWORD>(dataBytes, kCommandBlockBytes));
        std::memcpy(entry.received.data(), data, entry.length);
    }
    return entry;
}

void CommandLog::Finish(LoggedBlock entry, const void* data, HRESULT result) {
    if (data) std::memcpy(entry.answered.data(), data, entry.length);
    entry.result = result;
    if (capacity_ == 0) return;
    if (entries_.size() == capacity_) entries_.pop_front();
    entries_.push_back(entry);
}

}  // namespace devices
