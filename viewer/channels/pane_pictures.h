// Which pane gets which picture. The pictures are painted over whatever a pane shows; a pane
// given no picture is left as it is.
//
//   closed        "Channel %d Close"  the channel is disabled
//   no signal     "No Signal"         enabled, its bit clear in the mask given
//   lost signal   "Lost Signal"       enabled, its bit clear in the current mask and set in the
//                                     baseline mask, and only while the baseline is taken (not -1)
#pragma once

#include <array>
#include <cstdint>

namespace channel_views {

enum class PanePicture { kNone, kClosed, kNoSignal, kLostSignal };

// Entry k: the picture of the pane of channel k + 1.
using PanePictures = std::array<PanePicture, 4>;

// DrawClosedPanes: the panes of the channels missing from `enabled`.
PanePictures ClosedPanes(std::uint32_t enabled);
// DrawNoSignalPanes (mask): the enabled channels whose bit is clear in `mask`. A mask of -1 (all
// bits set) paints nothing.
PanePictures NoSignalPanes(std::uint32_t enabled, std::uint32_t mask);
// DrawLostSignalPanes (mask): the enabled channels whose bit is clear in `mask` and set in
// `baseline`; nothing while `baseline` is -1.
PanePictures LostSignalPanes(std::uint32_t enabled, std::uint32_t mask, std::int32_t baseline);

// The pictures of `above` painted after those of `below`: each pane keeps the last one painted.
PanePictures PaintOver(const PanePictures& below, const PanePictures& above);

}  // namespace channel_views
