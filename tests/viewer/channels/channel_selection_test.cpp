#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "viewer/channels/channel_mask.h"
#include "viewer/channels/channel_selection.h"

namespace channel_views {
namespace {

constexpr std::uint32_t kAll = 0x0F;

TEST(CurrentChannelTest, EnabledChannelStaysCurrent) {
    for (int channel = 1; channel <= 4; ++channel)
        EXPECT_EQ(ResolveCurrentChannel(channel, kAll), channel);
}

TEST(CurrentChannelTest, DisabledChannelsArePassedForwardOnly) {
    // Channel 2 disabled: 2 moves on to 3.
    EXPECT_EQ(ResolveCurrentChannel(2, 0x0D), 3);
    // 2, 3 and 4 disabled: the chain runs out at 0 although channel 1 is enabled.
    EXPECT_EQ(ResolveCurrentChannel(2, 0x01), 0);
    // 1 and 2 disabled: 1 -> 2 -> 3.
    EXPECT_EQ(ResolveCurrentChannel(1, 0x0C), 3);
    // 4 disabled never wraps round to 1.
    EXPECT_EQ(ResolveCurrentChannel(4, 0x07), 0);
    // A disabled channel that is passed does not move a channel after it back.
    EXPECT_EQ(ResolveCurrentChannel(3, 0x0A), 4);
}

TEST(CurrentChannelTest, NoChannelTakesTheLowestEnabledOne) {
    EXPECT_EQ(ResolveCurrentChannel(0, kAll), 1);
    EXPECT_EQ(ResolveCurrentChannel(0, 0x0C), 3);
    EXPECT_EQ(ResolveCurrentChannel(0, 0x08), 4);
    EXPECT_EQ(ResolveCurrentChannel(0, 0x00), 0);
}

TEST(CurrentChannelTest, NumbersOutsideTheChannelsGiveNone) {
    EXPECT_EQ(ResolveCurrentChannel(5, kAll), 0);
    EXPECT_EQ(ResolveCurrentChannel(-1, kAll), 0);
}

TEST(LowestSignalChannelTest, LowestChannelWithItsBitSet) {
    EXPECT_EQ(LowestChannelWithSignal(0x0A), 2);
    EXPECT_EQ(LowestChannelWithSignal(0x08), 4);
    EXPECT_EQ(LowestChannelWithSignal(0x0F), 1);
    // No signal anywhere: nothing is selected.
    EXPECT_EQ(LowestChannelWithSignal(0x00), 0);
    // Bits beyond the four channels are not channels.
    EXPECT_EQ(LowestChannelWithSignal(0x30), 0);
}

TEST(ChannelMaskTest, EnableFlagsBecomeChannelBits) {
    EXPECT_EQ(EnabledChannelMask(std::array<std::int32_t, 4>{1, 0, 1, 1}), 0x0Du);
    EXPECT_EQ(EnabledChannelMask(std::array<std::int32_t, 4>{0, 0, 0, 0}), 0x00u);
    EXPECT_EQ(ChannelBit(0), 0u);
    EXPECT_EQ(ChannelBit(5), 0u);
    EXPECT_EQ(ChannelBit(4), 0x08u);
}

}  // namespace
}  // namespace channel_views
