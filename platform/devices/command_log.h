// What the simulated device received through its property set: every Set and Get, with the
// bytes as they arrived, the bytes it answered and the result. Bounded: the oldest entries go
// first, so a program that polls the device for days does not grow without end.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

#include "platform/base/win_types.h"
#include "platform/devices/command_block.h"

namespace devices {

enum class PropertyAccess { Set, Get };

struct LoggedBlock {
    PropertyAccess access = PropertyAccess::Set;
    DWORD propertyId = 0;
    std::chrono::nanoseconds time{};  // device time of the call
    std::uint8_t length = 0;          // bytes kept below: the property data's size, at most 40
    std::array<std::uint8_t, kCommandBlockBytes> received{};  // property data before the call
    std::array<std::uint8_t, kCommandBlockBytes> answered{};  // property data after the call
    HRESULT result = S_OK;

    std::span<const std::uint8_t> Received() const { return {received.data(), length}; }
    std::span<const std::uint8_t> Answered() const { return {answered.data(), length}; }
};

class CommandLog {
  public:
    static constexpr std::size_t kDefaultCapacity = 4096;

    explicit CommandLog(std::size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

    // Starts an entry from the property data as it arrives (null data keeps no bytes).
    static LoggedBlock Begin(PropertyAccess access, DWORD id, std::chrono::nanoseconds time,
                             const void* data, DWORD dataBytes);
    // Completes `entry` with the property data after the call and the result, and keeps it.
    void Finish(LoggedBlock entry, const void* data, HRESULT result);

    std::vector<LoggedBlock> Entries() const { return {entries_.begin(), entries_.end()}; }
    void Clear() { entries_.clear(); }

  private:
    // Not thread-safe: the owner serialises access (SimulatedGrabber, under its lock).
    std::size_t capacity_;
    std::deque<LoggedBlock> entries_;
};

}  // namespace devices
