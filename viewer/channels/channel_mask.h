// Channel masks: bit (n - 1) stands for channel n (1 to 4) in every signal, enable and alarm
// mask; pane k (0 to 3) belongs to channel k + 1.
#pragma once

#include <cstdint>
#include <span>

namespace channel_views {

inline constexpr int kChannelCount = 4;
// The bits of the four channels.
inline constexpr std::uint32_t kChannelBits = 0x0F;

// The bit of channel n; 0 for a number outside 1 to 4.
constexpr std::uint32_t ChannelBit(int channel) {
    return channel >= 1 && channel <= kChannelCount ? 1u << (channel - 1) : 0u;
}

constexpr bool HasChannel(std::uint32_t mask, int channel) {
    return (mask & ChannelBit(channel)) != 0;
}

// The enable mask of the four enable flags of the settings (entry n - 1 for channel n): a
// non-zero flag enables its channel.
std::uint32_t EnabledChannelMask(std::span<const std::int32_t, kChannelCount> flags);

}  // namespace channel_views
