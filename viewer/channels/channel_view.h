// ChannelView: the layout the panes are in and the current channel. Both live as long as the
// main window and survive device removal and a new capture; they start as the quad layout on
// channel 1.
#pragma once

namespace channel_views {

inline constexpr int kLayoutSingle = 1;
inline constexpr int kLayoutBigSmall = 3;
inline constexpr int kLayoutQuad = 4;

struct ChannelView {
    int layout = kLayoutQuad;  // 1 single, 3 big and small, 4 quad
    int channel = 1;           // 1 to 4, 0 none
};

}  // namespace channel_views
