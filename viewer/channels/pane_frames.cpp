#include "viewer/channels/pane_frames.h"

#include <cstddef>

namespace channel_views {
namespace {

bool IsEmpty(const RECT& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

}  // namespace

std::vector<PaneFrame> PaneFrames(int layout, int current, const std::array<RECT, 4>& paneRects) {
    std::vector<PaneFrame> frames;
    for (int channel = 1; channel <= 4; ++channel) {
        if (layout == 1 && channel != current) continue;
        const RECT& rect = paneRects[static_cast<std::size_t>(channel - 1)];
        frames.push_back(PaneFrame{
            .channel = channel,
            .rect = rect,
            .outlined = !IsEmpty(rect),
            .color = channel == current ? kCurrentFrameColor : kOtherFrameColor,
            .penWidth = kFramePenWidth,
        });
    }
    return frames;
}

}  // namespace channel_views
