// The signal-loss poll of the watch tick, poll after poll as the tick runs it, with the masks the
// main window keeps between ticks.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "viewer/channels/pane_pictures.h"
#include "viewer/channels/signal_poll.h"

namespace channel_views {
namespace {

constexpr auto kNone = PanePicture::kNone;
constexpr auto kClosed = PanePicture::kClosed;
constexpr auto kNo = PanePicture::kNoSignal;
constexpr auto kLost = PanePicture::kLostSignal;
constexpr std::uint32_t kAll = 0x0F;

// The device as the poll reads it: a search state and a signal mask, and how often the mask was
// read.
class SignalPollTest : public ::testing::Test {
  protected:
    SignalPollResult Poll(int state, std::uint32_t signal, std::uint32_t enabled = kAll) {
        return PollSignalLoss(
            state,
            [this, signal]() -> std::optional<std::uint32_t> {
                ++reads_;
                return signal;
            },
            enabled, masks_);
    }

    SignalMasks masks_;
    int reads_ = 0;
};

TEST_F(SignalPollTest, NoJudgementBeforeTheSearchHasRun) {
    for (const int state : {0, 1}) {
        const SignalPollResult result = Poll(state, 0x00);
        EXPECT_EQ(result.lost, 0u);
        EXPECT_EQ(result.pictures, (PanePictures{kNone, kNone, kNone, kNone}));
    }
    EXPECT_EQ(reads_, 0);  // the mask is not even read
    EXPECT_EQ(masks_.seen, -1);
    EXPECT_EQ(masks_.baseline, -1);
}

TEST_F(SignalPollTest, WhileSearchingPanesShowNoSignalAgainstTheCurrentMask) {
    const SignalPollResult result = Poll(2, 0x05);
    EXPECT_EQ(result.lost, 0u);
    EXPECT_EQ(result.pictures, (PanePictures{kNone, kNo, kNone, kNo}));
    EXPECT_EQ(reads_, 1);
    // No baseline is taken while searching.
    EXPECT_EQ(masks_.seen, -1);
    EXPECT_EQ(masks_.baseline, -1);
}

TEST_F(SignalPollTest, FirstPollAfterTheSearchTakesTheBaselineAndRaisesNothing) {
    const SignalPollResult first = Poll(3, 0x05);
    EXPECT_EQ(masks_.seen, 0x05);
    EXPECT_EQ(masks_.baseline, 0x05);
    EXPECT_EQ(first.lost, 0u);
    EXPECT_EQ(first.pictures, (PanePictures{kNone, kNo, kNone, kNo}));

    // Channels 2 and 4 never had a signal: still nothing lost.
    const SignalPollResult second = Poll(3, 0x05);
    EXPECT_EQ(second.lost, 0u);
    EXPECT_EQ(second.pictures, (PanePictures{kNone, kNo, kNone, kNo}));
}

TEST_F(SignalPollTest, ChannelsLosingTheirSignalTogetherAreReportedAndPaintedLost) {
    Poll(3, 0x0F);
    const SignalPollResult result = Poll(3, 0x0A);  // 1 and 3 unplugged
    EXPECT_EQ(result.lost, 0x05u);
    EXPECT_EQ(result.pictures, (PanePictures{kLost, kNone, kLost, kNone}));
    // Still lost on the next tick, which raises the next alarm.
    EXPECT_EQ(Poll(3, 0x0A).lost, 0x05u);
    // Plugged back: nothing lost, and the pane is left to its video again.
    const SignalPollResult back = Poll(3, 0x0F);
    EXPECT_EQ(back.lost, 0u);
    EXPECT_EQ(back.pictures, (PanePictures{kNone, kNone, kNone, kNone}));
}

TEST_F(SignalPollTest, DisabledChannelIsNeitherReportedNorPainted) {
    constexpr std::uint32_t kWithoutTwo = 0x0D;
    Poll(3, 0x0F, kWithoutTwo);
    const SignalPollResult result = Poll(3, 0x00, kWithoutTwo);
    EXPECT_EQ(result.lost, 0x0Du);
    EXPECT_EQ(result.pictures, (PanePictures{kLost, kNone, kLost, kLost}));
}

TEST_F(SignalPollTest, ChannelSeenOnlyAfterTheBaselineIsReportedButPaintedNoSignal) {
    Poll(3, 0x01);
    EXPECT_EQ(Poll(3, 0x03).lost, 0u);  // channel 2 plugged in after the baseline
    EXPECT_EQ(masks_.seen, 0x03);
    EXPECT_EQ(masks_.baseline, 0x01);
    const SignalPollResult result = Poll(3, 0x01);
    EXPECT_EQ(result.lost, 0x02u);
    // Pictures are drawn against the baseline, in which channel 2 had no signal.
    EXPECT_EQ(result.pictures, (PanePictures{kNone, kNo, kNo, kNo}));
}

TEST_F(SignalPollTest, AcknowledgingKeepsTheBaselineAndForgetsWhatWasSeen) {
    Poll(3, 0x0F);
    EXPECT_EQ(Poll(3, 0x0E).lost, 0x01u);
    masks_.seen = -1;  // the alarms were acknowledged
    const SignalPollResult first = Poll(3, 0x0E);
    EXPECT_EQ(first.lost, 0u);
    EXPECT_EQ(masks_.seen, 0x0E);
    EXPECT_EQ(masks_.baseline, 0x0F);
    // Channel 1 had a signal at the baseline: no "No Signal" for it; the pane keeps its picture.
    EXPECT_EQ(first.pictures, (PanePictures{kNone, kNone, kNone, kNone}));
    // Channel 1 has not been seen since: no new report, but still painted lost.
    const SignalPollResult later = Poll(3, 0x0E);
    EXPECT_EQ(later.lost, 0u);
    EXPECT_EQ(later.pictures, (PanePictures{kLost, kNone, kNone, kNone}));
}

TEST_F(SignalPollTest, ResetTakesANewBaseline) {
    Poll(3, 0x0F);
    masks_ = SignalMasks{};  // a new search
    Poll(1, 0x00);
    Poll(2, 0x03);
    const SignalPollResult result = Poll(3, 0x03);
    EXPECT_EQ(masks_.baseline, 0x03);
    EXPECT_EQ(result.lost, 0u);
    EXPECT_EQ(result.pictures, (PanePictures{kNone, kNone, kNo, kNo}));
}

TEST_F(SignalPollTest, WithoutSearchStateThePollJudgesAsAfterTheSearch) {
    Poll(-1, 0x03);
    EXPECT_EQ(masks_.baseline, 0x03);
    EXPECT_EQ(Poll(-1, 0x01).lost, 0x02u);
}

TEST_F(SignalPollTest, WithoutDeviceControlNothingHappens) {
    const SignalPollResult result = PollSignalLoss(
        3, [] { return std::optional<std::uint32_t>(); }, kAll, masks_);
    EXPECT_EQ(result.lost, 0u);
    EXPECT_EQ(result.pictures, (PanePictures{kNone, kNone, kNone, kNone}));
    EXPECT_EQ(masks_.seen, -1);
    EXPECT_EQ(masks_.baseline, -1);
    EXPECT_EQ(PollSignalLoss(3, nullptr, kAll, masks_).lost, 0u);
}

TEST_F(SignalPollTest, BitsBeyondTheChannelsNeverLookLikeAnUntakenMask) {
    Poll(3, 0xFFFFFFFF);
    EXPECT_EQ(masks_.seen, 0x0F);
    EXPECT_EQ(masks_.baseline, 0x0F);
    // The second poll is a judgement, not a new baseline.
    EXPECT_EQ(Poll(3, 0xFFFFFFF0).lost, 0x0Fu);
}

TEST(PanePicturesTest, DecisionsOfTheThreeDrawings) {
    EXPECT_EQ(ClosedPanes(0x0A), (PanePictures{kClosed, kNone, kClosed, kNone}));
    EXPECT_EQ(NoSignalPanes(0x0A, 0x02), (PanePictures{kNone, kNone, kNone, kNo}));
    // A baseline of -1 paints nothing, with either drawing.
    EXPECT_EQ(NoSignalPanes(kAll, static_cast<std::uint32_t>(-1)),
              (PanePictures{kNone, kNone, kNone, kNone}));
    EXPECT_EQ(LostSignalPanes(kAll, 0x00, -1), (PanePictures{kNone, kNone, kNone, kNone}));
    EXPECT_EQ(LostSignalPanes(0x07, 0x01, 0x0D), (PanePictures{kNone, kNone, kLost, kNone}));
    EXPECT_EQ(PaintOver(ClosedPanes(0x0E), NoSignalPanes(0x0E, 0x04)),
              (PanePictures{kClosed, kNo, kNone, kNo}));
}

}  // namespace
}  // namespace channel_views
