// Where the four panes go in each layout, and which are shown:
//
//   quad (4)            pane n at quad entry n, all shown
//   big and small (3)   the current channel's pane at big, the other three at small 0, 1, 2 in
//                       channel order, all shown; current 0 (or any number outside 2 to 4)
//                       makes channel 1 current
//   single (1)          the current channel's pane at full and shown, the other three hidden
//                       where they are; nothing is placed while no channel (0) is current
#pragma once

#include <array>
#include <optional>

#include "viewer/channels/layout_rects.h"

namespace channel_views {

struct PaneSpot {
    std::optional<RECT> rect;  // where the pane moves; empty: it stays where it is
    bool shown = true;
};

struct PanePlacement {
    std::array<PaneSpot, 4> panes{};  // entry k: pane of channel k + 1
    int channel = 0;                  // the current channel after the placement
};

PanePlacement PlaceQuad(const LayoutRects& rects, int channel);
PanePlacement PlaceBigSmall(const LayoutRects& rects, int channel);
// Empty when `channel` is not 1 to 4.
std::optional<PanePlacement> PlaceSingle(const LayoutRects& rects, int channel);

}  // namespace channel_views
