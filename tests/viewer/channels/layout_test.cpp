// Layout rectangles and pane placement on the panes of the main dialog (dialog units at 7/4
// pixel each): channel 1 top left, 4 top right, 2 bottom left, 3 bottom right.
#include <gtest/gtest.h>

#include <array>
#include <ostream>

#include "viewer/channels/layout_rects.h"
#include "viewer/channels/pane_placement.h"

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
void PrintTo(const RECT& r, std::ostream* out) {
    *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace channel_views {
namespace {

constexpr RECT kP1{26, 19, 341, 257};
constexpr RECT kP4{348, 19, 663, 257};
constexpr RECT kP2{26, 260, 341, 498};
constexpr RECT kP3{348, 260, 663, 498};
constexpr std::array<RECT, 4> kQuad{kP1, kP2, kP3, kP4};

class LayoutTest : public ::testing::Test {
  protected:
    const LayoutRects rects_ = ComputeLayoutRects(kQuad);
};

TEST_F(LayoutTest, FullSpansPaneOneToPaneThree) {
    EXPECT_EQ(rects_.quad, kQuad);
    EXPECT_EQ(rects_.full, (RECT{26, 19, 663, 498}));
}

TEST_F(LayoutTest, BigAndSmallRectanglesDropTheRemainders) {
    // W = 637 (3 * 212 + 1), H = 479 (3 * 479 = 4 * 359 + 1).
    EXPECT_EQ(rects_.big, (RECT{26, 19, 663, 19 + 359 - 4}));
    EXPECT_EQ(rects_.small[0], (RECT{26, 382, 26 + 212 - 4, 498}));
    EXPECT_EQ(rects_.small[1], (RECT{26 + 212 + 4, 382, 26 + 424, 498}));
    EXPECT_EQ(rects_.small[2], (RECT{26 + 424 + 8, 382, 663, 498}));
}

TEST_F(LayoutTest, BigAndSmallWithChannelThreeCurrent) {
    const PanePlacement placement = PlaceBigSmall(rects_, 3);
    EXPECT_EQ(placement.channel, 3);
    // Pane 3 fills the upper three quarters less 4 pixels.
    EXPECT_EQ(placement.panes[2].rect, rects_.big);
    // Panes 1, 2 and 4 share the bottom strip left to right, 8 pixels apart.
    const RECT s1 = placement.panes[0].rect.value();
    const RECT s2 = placement.panes[1].rect.value();
    const RECT s4 = placement.panes[3].rect.value();
    EXPECT_EQ(s1.top, rects_.big.bottom + 8);
    EXPECT_EQ(s1.left, rects_.full.left);
    EXPECT_EQ(s2.left - s1.right, 8);
    EXPECT_EQ(s4.left - s2.right, 8);
    EXPECT_EQ(s4.right, rects_.full.right);
    EXPECT_EQ(s1.bottom, rects_.full.bottom);
    for (const PaneSpot& spot : placement.panes) EXPECT_TRUE(spot.shown);
}

TEST_F(LayoutTest, BigAndSmallPutsTheOthersInChannelOrder) {
    const PanePlacement four = PlaceBigSmall(rects_, 4);
    EXPECT_EQ(four.panes[3].rect, rects_.big);
    EXPECT_EQ(four.panes[0].rect, rects_.small[0]);
    EXPECT_EQ(four.panes[1].rect, rects_.small[1]);
    EXPECT_EQ(four.panes[2].rect, rects_.small[2]);
    const PanePlacement two = PlaceBigSmall(rects_, 2);
    EXPECT_EQ(two.panes[1].rect, rects_.big);
    EXPECT_EQ(two.panes[0].rect, rects_.small[0]);
    EXPECT_EQ(two.panes[2].rect, rects_.small[1]);
    EXPECT_EQ(two.panes[3].rect, rects_.small[2]);
}

TEST_F(LayoutTest, BigAndSmallWithoutCurrentChannelMakesChannelOneCurrent) {
    for (const int channel : {0, 1}) {
        const PanePlacement placement = PlaceBigSmall(rects_, channel);
        EXPECT_EQ(placement.channel, 1);
        EXPECT_EQ(placement.panes[0].rect, rects_.big);
        EXPECT_EQ(placement.panes[1].rect, rects_.small[0]);
        EXPECT_EQ(placement.panes[3].rect, rects_.small[2]);
    }
}

TEST_F(LayoutTest, QuadPutsEveryPaneBackAndShowsIt) {
    const PanePlacement placement = PlaceQuad(rects_, 0);
    EXPECT_EQ(placement.channel, 0);
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(placement.panes[k].rect, kQuad[k]);
        EXPECT_TRUE(placement.panes[k].shown);
    }
}

TEST_F(LayoutTest, SingleShowsOnlyTheCurrentPaneAtFull) {
    const auto placement = PlaceSingle(rects_, 2);
    ASSERT_TRUE(placement);
    EXPECT_EQ(placement->channel, 2);
    EXPECT_EQ(placement->panes[1].rect, rects_.full);
    EXPECT_TRUE(placement->panes[1].shown);
    for (const std::size_t k : {0u, 2u, 3u}) {
        EXPECT_FALSE(placement->panes[k].shown);
        EXPECT_FALSE(placement->panes[k].rect.has_value());  // hidden where it is
    }
    // Without a current channel nothing is placed.
    EXPECT_FALSE(PlaceSingle(rects_, 0));
    EXPECT_FALSE(PlaceSingle(rects_, 5));
}

}  // namespace
}  // namespace channel_views
