// The signal-loss poll of the 3-second watch tick: from the device's search state and signal
// mask it keeps the two signal masks of the main window, decides the "No Signal" and
// "Lost Signal" pictures of the panes, and finds the enabled channels that had a signal since
// the last reset and have none now.
//
// Masks are -1 while not taken. A reset (a new search, device removal, the channel dialog's
// reset) sets both to -1; acknowledging the alarms sets only `seen` to -1.
//
//   search state 0 or 1   nothing: no mask is read, nothing painted, nothing lost
//   state 2               "No Signal" against the current mask; nothing lost
//   3, or none (-1)       first poll after a reset (`seen` is -1): `seen` = current mask,
//                         `baseline` = current mask when it is -1 too; "No Signal" against the
//                         baseline; nothing lost
//                         later polls: "No Signal" against the baseline, "Lost Signal" against
//                         the current mask; the current mask's channels join `seen`; lost are
//                         the enabled channels in `seen` missing from the current mask
// Any state other than 0, 1 and 2 counts as finished.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "viewer/channels/pane_pictures.h"

namespace channel_views {

// seenSignalMask and baselineSignalMask of the main window.
struct SignalMasks {
    std::int32_t seen = -1;      // channels that have shown a signal since the last reset
    std::int32_t baseline = -1;  // the mask of the first poll after a reset

    // A reset: both masks are taken again by the next polls.
    void Reset() {
        seen = -1;
        baseline = -1;
    }
};

struct SignalPollResult {
    std::uint32_t lost = 0;   // channels newly without signal (bits 0x01 to 0x08)
    PanePictures pictures{};  // what the poll paints; kNone: the pane is left as it is
};

// Reads the device's signal mask (bit n - 1: channel n has a signal); empty without a device
// control, in which case the poll ends without a result.
using SignalMaskReader = std::function<std::optional<std::uint32_t>()>;

// One poll while a capture graph exists (without one the poll is 0 and does nothing).
// `searchState`: 0 to 3, or -1 when the device control offers no search state. `readSignalMask`
// is called at most once, and only in states other than 0 and 1. `enabled`: the enabled
// channels. Only the four channel bits of the device's mask are kept in `masks`.
SignalPollResult PollSignalLoss(int searchState, const SignalMaskReader& readSignalMask,
                                std::uint32_t enabled, SignalMasks& masks);

}  // namespace channel_views
