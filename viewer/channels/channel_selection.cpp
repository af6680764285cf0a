#include "viewer/channels/channel_selection.h"

#include "viewer/channels/channel_mask.h"

namespace channel_views {
namespace {

// The lowest channel whose bit is set in `mask`, or 0.
int LowestChannelOf(std::uint32_t mask) {
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        if (HasChannel(mask, channel)) return channel;
    }
    return 0;
}

}  // namespace

int ResolveCurrentChannel(int channel, std::uint32_t enabled) {
    if (channel < 0 || channel > kChannelCount) return 0;
    if (channel == 0) channel = LowestChannelOf(enabled);
    // Each step runs once, in this order, and only ever moves forward.
    if (channel == 1 && !HasChannel(enabled, 1)) channel = 2;
    if (channel == 2 && !HasChannel(enabled, 2)) channel = 3;
    if (channel == 3 && !HasChannel(enabled, 3)) channel = 4;
    if (channel == 4 && !HasChannel(enabled, 4)) channel = 0;
    return channel;
}

int LowestChannelWithSignal(std::uint32_t signalMask) {
    return LowestChannelOf(signalMask);
}

}  // namespace channel_views
