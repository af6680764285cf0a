// The signal watch of the 3-second watch tick: once the device's signal search has finished, the
// first poll takes the signal baseline; later polls paint "No Signal" and "Lost Signal" and
// report the enabled channels that have shown a signal since the last reset and have none now.
#include <optional>

#include "viewer/capture/device_commands.h"
#include "viewer/channels/signal_poll.h"
#include "viewer/main_window/quadrel_dlg.h"

std::uint32_t CQuadrelDlg::PollSignalLoss() {
    if (!m_pGraph) return 0;
    const auto readSignalMask = [this]() -> std::optional<std::uint32_t> {
        std::uint32_t mask = 0;
        if (FAILED(GetSignalMask(m_pGraph, &mask))) return std::nullopt;
        return mask;
    };
    channel_views::SignalMasks masks{seenSignalMask, baselineSignalMask};
    const channel_views::SignalPollResult result = channel_views::PollSignalLoss(
        GetSearchState(m_pGraph), readSignalMask, EnabledChannels(), masks);
    seenSignalMask = masks.seen;
    baselineSignalMask = masks.baseline;
    PaintPanePictures(result.pictures);
    return result.lost;
}
