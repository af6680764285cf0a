#include <gtest/gtest.h>

#include <array>

#include "viewer/channels/pane_frames.h"

namespace channel_views {
namespace {

constexpr std::array<RECT, 4> kPanes{RECT{0, 0, 100, 80}, RECT{0, 90, 100, 170},
                                     RECT{110, 90, 210, 170}, RECT{110, 0, 210, 80}};

TEST(PaneFramesTest, CurrentPaneRedOthersBlueFourPixelsWide) {
    const std::vector<PaneFrame> frames = PaneFrames(4, 2, kPanes);
    ASSERT_EQ(frames.size(), 4u);
    for (int k = 0; k < 4; ++k) {
        const PaneFrame& frame = frames[static_cast<std::size_t>(k)];
        EXPECT_EQ(frame.channel, k + 1);
        EXPECT_EQ(frame.rect.left, kPanes[static_cast<std::size_t>(k)].left);
        EXPECT_TRUE(frame.outlined);
        EXPECT_EQ(frame.penWidth, 4);
        EXPECT_EQ(frame.color, k + 1 == 2 ? RGB(255, 0, 0) : RGB(0, 0, 255));
    }
}

TEST(PaneFramesTest, SingleLayoutVisitsOnlyTheCurrentPane) {
    const std::vector<PaneFrame> frames = PaneFrames(1, 3, kPanes);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].channel, 3);
    EXPECT_EQ(frames[0].color, RGB(255, 0, 0));
    EXPECT_TRUE(PaneFrames(1, 0, kPanes).empty());
    // Other layouts frame every pane, all blue while no channel is current.
    const std::vector<PaneFrame> none = PaneFrames(3, 0, kPanes);
    ASSERT_EQ(none.size(), 4u);
    for (const PaneFrame& frame : none) EXPECT_EQ(frame.color, RGB(0, 0, 255));
}

TEST(PaneFramesTest, EmptyPaneIsVisitedWithoutOutline) {
    std::array<RECT, 4> panes = kPanes;
    panes[0] = RECT{10, 10, 10, 50};
    const std::vector<PaneFrame> frames = PaneFrames(4, 1, panes);
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_FALSE(frames[0].outlined);
    EXPECT_TRUE(frames[1].outlined);
}

}  // namespace
}  // namespace channel_views
