// The rectangles of the three layouts, computed once from where the four panes sit in the quad
// layout (dialog client coordinates; right and bottom exclusive).
//
//   full      from the top left of pane 1 (control 1005) to the bottom right of pane 3 (1007)
//   big       full width, the upper three quarters of the height less 4 pixels
//   small 0-2 the strip 8 pixels below big, split in three with gaps of 8 pixels
//
// Divisions drop the remainder (W and H are the width and height of full):
//   big.bottom     = full.top + (3 * H) / 4 - 4
//   small[0]       = full.left                 .. full.left + W / 3 - 4
//   small[1]       = full.left + W / 3 + 4     .. full.left + 2 * (W / 3)
//   small[2]       = full.left + 2 * (W / 3) + 8 .. full.right
#pragma once

#include <array>

#include "platform/base/win_types.h"

namespace channel_views {

struct LayoutRects {
    std::array<RECT, 4> quad{};  // entry k: pane of channel k + 1 in the quad layout
    RECT full{};
    RECT big{};
    std::array<RECT, 3> small{};
};

// `paneRects`: the panes of channels 1 to 4 where they sit at start-up.
LayoutRects ComputeLayoutRects(const std::array<RECT, 4>& paneRects);

}  // namespace channel_views
