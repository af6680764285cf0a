#include "viewer/channels/channel_mask.h"

#include <cstddef>

namespace channel_views {

std::uint32_t EnabledChannelMask(std::span<const std::int32_t, kChannelCount> flags) {
    std::uint32_t mask = 0;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        if (flags[static_cast<std::size_t>(channel - 1)] != 0) mask |= ChannelBit(channel);
    }
    return mask;
}

}  // namespace channel_views
