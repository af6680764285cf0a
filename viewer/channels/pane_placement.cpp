#include "viewer/channels/pane_placement.h"

#include <cstddef>

namespace channel_views {

PanePlacement PlaceQuad(const LayoutRects& rects, int channel) {
    PanePlacement placement;
    placement.channel = channel;
    for (std::size_t k = 0; k < placement.panes.size(); ++k) {
        placement.panes[k] = PaneSpot{rects.quad[k], true};
    }
    return placement;
}

PanePlacement PlaceBigSmall(const LayoutRects& rects, int channel) {
    if (channel < 2 || channel > 4) channel = 1;
    PanePlacement placement;
    placement.channel = channel;
    std::size_t small = 0;
    for (std::size_t k = 0; k < placement.panes.size(); ++k) {
        const bool current = static_cast<int>(k) + 1 == channel;
        placement.panes[k] = PaneSpot{current ? rects.big : rects.small[small++], true};
    }
    return placement;
}

std::optional<PanePlacement> PlaceSingle(const LayoutRects& rects, int channel) {
    if (channel < 1 || channel > 4) return std::nullopt;
    PanePlacement placement;
    placement.channel = channel;
    for (std::size_t k = 0; k < placement.panes.size(); ++k) {
        if (static_cast<int>(k) + 1 == channel) {
            placement.panes[k] = PaneSpot{rects.full, true};
        } else {
            placement.panes[k] = PaneSpot{std::nullopt, false};
        }
    }
    return placement;
}

}  // namespace channel_views
