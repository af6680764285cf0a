// Which channel becomes current: the rule that makes a channel current in the view (disabled
// channels are passed forward, never back to channel 1), and the channel the device is fixed on
// when no channel is current (the lowest one with a signal).
#pragma once

#include <cstdint>

namespace channel_views {

// The current channel after asking for `channel` (0 to 4) with the channels of `enabled`:
// 0 first becomes the lowest enabled channel (0 when none is enabled); then each disabled
// channel passes on to the next, once and in order: 1 -> 2 -> 3 -> 4 -> 0. There is no
// wrap-around from 4 to 1, so a disabled 2, 3 and 4 end at 0 even when 1 is enabled. A number
// outside 0 to 4 gives 0 (no channel).
int ResolveCurrentChannel(int channel, std::uint32_t enabled);

// The lowest channel whose bit is set in `signalMask`, or 0 when no channel has a signal.
int LowestChannelWithSignal(std::uint32_t signalMask);

}  // namespace channel_views
