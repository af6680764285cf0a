// The frames drawn around the panes (DrawPaneFrames): a 4-pixel outline with a hollow inside,
// red around the current channel's pane and blue around the others. In the single layout only
// the current channel's pane is visited. Each visited pane also has its video repainted; a pane
// whose rectangle is empty gets no outline.
#pragma once

#include <array>
#include <vector>

#include "platform/base/win_types.h"
#include "platform/text/colorref.h"

namespace channel_views {

inline constexpr COLORREF kCurrentFrameColor = RGB(255, 0, 0);
inline constexpr COLORREF kOtherFrameColor = RGB(0, 0, 255);
inline constexpr int kFramePenWidth = 4;

struct PaneFrame {
    int channel = 0;        // 1 to 4
    RECT rect{};            // the pane's rectangle in dialog client coordinates
    bool outlined = false;  // false for an empty rectangle: only the video is repainted
    COLORREF color = kOtherFrameColor;
    int penWidth = kFramePenWidth;
};

// The panes visited for current channel `current` in `layout`, channel 1 first. `paneRects`:
// entry k is the rectangle of the pane of channel k + 1.
std::vector<PaneFrame> PaneFrames(int layout, int current, const std::array<RECT, 4>& paneRects);

}  // namespace channel_views
