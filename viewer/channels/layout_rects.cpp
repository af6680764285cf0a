#include "viewer/channels/layout_rects.h"

namespace channel_views {

LayoutRects ComputeLayoutRects(const std::array<RECT, 4>& paneRects) {
    LayoutRects rects;
    rects.quad = paneRects;
    const RECT& first = paneRects[0];  // pane 1005
    const RECT& third = paneRects[2];  // pane 1007
    rects.full = RECT{first.left, first.top, third.right, third.bottom};
    const RECT& full = rects.full;
    const LONG w = full.right - full.left;
    const LONG h = full.bottom - full.top;
    rects.big = RECT{full.left, full.top, full.right, full.top + (3 * h) / 4 - 4};
    const LONG top = rects.big.bottom + 8;
    rects.small[0] = RECT{full.left, top, full.left + w / 3 - 4, full.bottom};
    rects.small[1] = RECT{full.left + w / 3 + 4, top, full.left + 2 * (w / 3), full.bottom};
    rects.small[2] = RECT{full.left + 2 * (w / 3) + 8, top, full.right, full.bottom};
    return rects;
}

}  // namespace channel_views
