#include "viewer/channels/signal_poll.h"

#include "viewer/channels/channel_mask.h"

namespace channel_views {

SignalPollResult PollSignalLoss(int searchState, const SignalMaskReader& readSignalMask,
                                std::uint32_t enabled, SignalMasks& masks) {
    SignalPollResult result;
    if (searchState == 0 || searchState == 1) return result;
    const std::optional<std::uint32_t> read = readSignalMask ? readSignalMask() : std::nullopt;
    if (!read) return result;
    // Only channel bits, so a mask can never be mistaken for "not taken" (-1).
    const std::uint32_t current = *read & kChannelBits;

    if (searchState == 2) {
        result.pictures = NoSignalPanes(enabled, current);
        return result;
    }

    if (masks.seen == -1) {
        masks.seen = static_cast<std::int32_t>(current);
        if (masks.baseline == -1) masks.baseline = static_cast<std::int32_t>(current);
        result.pictures = NoSignalPanes(enabled, static_cast<std::uint32_t>(masks.baseline));
        return result;
    }

    result.pictures = PaintOver(NoSignalPanes(enabled, static_cast<std::uint32_t>(masks.baseline)),
                                LostSignalPanes(enabled, current, masks.baseline));
    masks.seen = static_cast<std::int32_t>(static_cast<std::uint32_t>(masks.seen) | current);
    result.lost = enabled & kChannelBits & static_cast<std::uint32_t>(masks.seen) & ~current;
    return result;
}

}  // namespace channel_views
