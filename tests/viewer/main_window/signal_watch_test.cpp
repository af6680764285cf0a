// The signal watch of the 3-second watch tick on the simulated grabber's scenarios: the baseline
// taken after the search, "No Signal" over cameras that never had a signal, "Lost Signal" over
// cameras unplugged later, and the lost channels the tick hands to the alarms.
#include "tests/viewer/main_window/channel_views_fixture.h"

namespace main_window_test {
namespace {

using channel_views::PanePicture;
using std::chrono::milliseconds;
using std::chrono::seconds;

class SignalWatchTest : public ChannelViewsTest {
  protected:
    QImage Expected(PanePicture kind, int channel) const {
        return channel_views::DrawSignalPicture(
            kind, window_->Capture().Graph()->channelTitles[channel - 1], Pane(channel)->size());
    }
    void Tick() { window_->OnTimer(ID_TIMER_WATCH); }
    std::uint32_t Poll() { return window_->Alarms().PollSignalLoss(); }
    const channel_views::SignalMasks& Masks() { return window_->Alarms().Masks(); }
};

TEST_F(SignalWatchTest, CameraWithoutSignalFromTheStartShowsNoSignalAndRaisesNothing) {
    OpenUnlocked("signal=1,2,4");
    EXPECT_EQ(Poll(), 0u);
    EXPECT_EQ(Masks().baseline, 0b1011);
    EXPECT_EQ(Masks().seen, 0b1011);
    EXPECT_EQ(Pane(3)->Picture(), Expected(PanePicture::kNoSignal, 3));
    for (int n : {1, 2, 4}) EXPECT_TRUE(Pane(n)->Picture().isNull()) << n;
    // Later polls: still "No Signal" (never "Lost"), and a camera never seen lost nothing.
    EXPECT_EQ(Poll(), 0u);
    EXPECT_EQ(Pane(3)->Picture(), Expected(PanePicture::kNoSignal, 3));
}

TEST_F(SignalWatchTest, CameraUnpluggedAfterTheSearchShowsLostSignalOnTheNextWatchTick) {
    OpenUnlocked("5s unplug 2");
    Tick();  // the baseline: all four
    ASSERT_EQ(Masks().baseline, 0b1111);
    StepTo(seconds(5) + milliseconds(100));
    EXPECT_TRUE(Pane(2)->Picture().isNull());
    EXPECT_EQ(Poll(), 0b0010u);
    EXPECT_EQ(Pane(2)->Picture(), Expected(PanePicture::kLostSignal, 2));
    // Still lost on every later poll, until the alarms acknowledge it.
    EXPECT_EQ(Poll(), 0b0010u);
    Tick();
    EXPECT_EQ(Pane(2)->Picture(), Expected(PanePicture::kLostSignal, 2));
}

TEST_F(SignalWatchTest, OnlyEnabledChannelsSeenWithSignalAreReportedLost) {
    EnableOnly(0b0111);  // channel 4 disabled
    OpenUnlocked("signal=1,2,4; 5s unplug 1,4");
    EXPECT_EQ(Poll(), 0u);
    StepTo(seconds(6));
    // 1 lost; 3 never had a signal; 4 is disabled.
    EXPECT_EQ(Poll(), 0b0001u);
    EXPECT_EQ(Pane(1)->Picture(), Expected(PanePicture::kLostSignal, 1));
    EXPECT_EQ(Pane(3)->Picture(), Expected(PanePicture::kNoSignal, 3));
    EXPECT_EQ(Pane(4)->Picture(), channel_views::DrawClosedPicture(4, Pane(4)->size()));
}

TEST_F(SignalWatchTest, CameraPluggedInAfterTheBaselineCountsAsSeenAndCanBeLost) {
    OpenUnlocked("signal=1; 4s plug 2; 8s unplug 2");
    EXPECT_EQ(Poll(), 0u);
    ASSERT_EQ(Masks().baseline, 0b0001);
    StepTo(seconds(5));
    EXPECT_EQ(Poll(), 0u);
    EXPECT_EQ(Masks().seen, 0b0011);
    StepTo(seconds(9));
    EXPECT_EQ(Poll(), 0b0010u);
    // Drawn against the baseline, which never had channel 2: "No Signal", not "Lost".
    EXPECT_EQ(Pane(2)->Picture(), Expected(PanePicture::kNoSignal, 2));
}

TEST_F(SignalWatchTest, NothingIsJudgedWhileTheSearchRuns) {
    Attach("signal=1,2; 500ms unplug 1");
    Open();
    StepTo(milliseconds(600));  // state 1
    EXPECT_EQ(Poll(), 0u);
    EXPECT_TRUE(Pane(3)->Picture().isNull());
    StepTo(milliseconds(2000));  // state 2: "No Signal" against the mask of now
    EXPECT_EQ(Poll(), 0u);
    EXPECT_EQ(Pane(1)->Picture(), Expected(PanePicture::kNoSignal, 1));
    EXPECT_EQ(Pane(3)->Picture(), Expected(PanePicture::kNoSignal, 3));
    // No mask is taken before the search has finished.
    EXPECT_EQ(Masks().seen, -1);
    EXPECT_EQ(Masks().baseline, -1);
}

TEST_F(SignalWatchTest, NewSearchTakesANewBaseline) {
    OpenUnlocked("signal=1,2; 5s unplug 2");
    Poll();
    StepTo(seconds(6));
    ASSERT_EQ(Poll(), 0b0010u);
    Click(IDC_SEARCH);  // state 3: a new search
    EXPECT_EQ(Masks().seen, -1);
    EXPECT_EQ(Masks().baseline, -1);
    EXPECT_TRUE(Running(ID_TIMER_SEARCH));
    EXPECT_EQ(Device().searchState, devices::SearchState::Scanning);
    // Pressed again while it runs, it stops the search and the blinking.
    window_->OnTimer(ID_TIMER_SEARCH);
    ASSERT_TRUE(Latched(IDC_SEARCH));
    Click(IDC_SEARCH);
    EXPECT_FALSE(Running(ID_TIMER_SEARCH));
    EXPECT_FALSE(Latched(IDC_SEARCH));
    EXPECT_EQ(Device().searchState, devices::SearchState::Finished);
    // The next poll takes channel 1 alone as the baseline: channel 2 is not lost any more.
    EXPECT_EQ(Poll(), 0u);
    EXPECT_EQ(Masks().baseline, 0b0001);
    EXPECT_EQ(Poll(), 0u);
}

}  // namespace
}  // namespace main_window_test
