// The timer loop: the search blink and its end, the signal reset, the stamp tick, and ticks
// that find no capture.
#include "platform/media/interfaces/ivmr_mixer_bitmap9.h"
#include "tests/viewer/main_window/main_window_fixture.h"

namespace main_window_test {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

float StampAlpha(const ComPtr<IBaseFilter>& renderer) {
    ComPtr<IVMRMixerBitmap9> mixer;
    EXPECT_EQ(renderer.As(&mixer), S_OK);
    VMR9AlphaBitmap parameters{};
    EXPECT_EQ(mixer->GetAlphaBitmapParameters(&parameters), S_OK);
    return parameters.fAlpha;
}

TEST_F(MainWindowTest, SearchBlinksUntilTheDeviceHasFinishedItsSearch) {
    Attach("signal=1,3");
    Open();
    ASSERT_TRUE(Running(ID_TIMER_SEARCH));
    ASSERT_FALSE(Latched(IDC_SEARCH));
    window_->OnTimer(ID_TIMER_SEARCH);
    EXPECT_TRUE(Latched(IDC_SEARCH));
    StepTo(milliseconds(2900));  // state 2, still searching
    window_->OnTimer(ID_TIMER_SEARCH);
    EXPECT_FALSE(Latched(IDC_SEARCH));
    window_->OnTimer(ID_TIMER_SEARCH);
    EXPECT_TRUE(Latched(IDC_SEARCH));
    EXPECT_TRUE(Running(ID_TIMER_SEARCH));

    window_->SetLatched(IDC_ON, false);
    window_->SetLatched(IDC_OFF, true);
    StepTo(seconds(3));  // the search has finished
    window_->OnTimer(ID_TIMER_SEARCH);
    EXPECT_FALSE(Running(ID_TIMER_SEARCH));
    EXPECT_FALSE(Latched(IDC_SEARCH));
    EXPECT_TRUE(Latched(IDC_ON));
    EXPECT_FALSE(Latched(IDC_OFF));
    // The poll leaves the signal masks alone.
    EXPECT_EQ(window_->Alarms().Masks().seen, -1);
}

TEST_F(MainWindowTest, SignalResetRestartsTheBaselineAndTheSearchPoll) {
    Attach("");
    Open();
    StepTo(seconds(3));
    window_->OnTimer(ID_TIMER_SEARCH);
    ASSERT_FALSE(Running(ID_TIMER_SEARCH));
    window_->OnTimer(ID_TIMER_WATCH);  // the baseline of the finished search
    ASSERT_EQ(window_->Alarms().Masks().seen, 0x0F);
    ASSERT_EQ(window_->Alarms().Masks().baseline, 0x0F);
    window_->PostSignalReset();
    EXPECT_FALSE(Running(ID_TIMER_SEARCH));  // a posted message, handled from the queue
    Deliver();
    EXPECT_EQ(window_->Alarms().Masks().seen, -1);
    EXPECT_EQ(window_->Alarms().Masks().baseline, -1);
    EXPECT_TRUE(Running(ID_TIMER_SEARCH));
    EXPECT_EQ(window_->Timers().Find(ID_TIMER_SEARCH)->interval(), 800);
}

TEST_F(MainWindowTest, StampTickRedrawsTheStampOfEveryPane) {
    Attach("");
    Open();
    CaptureGraph* graph = window_->Capture().Graph();
    ASSERT_NE(graph, nullptr);
    for (const ComPtr<IBaseFilter>& renderer : graph->renderers)
        ASSERT_FLOAT_EQ(StampAlpha(renderer), 1.0f);  // the titles were stamped at start
    // All three stamp parts off without redrawing: only the tick shows it.
    graph->showTitle = 0;
    graph->showTime = 0;
    graph->showSnapIcon = 0;
    window_->OnTimer(ID_TIMER_STAMP);
    for (const ComPtr<IBaseFilter>& renderer : graph->renderers)
        EXPECT_FLOAT_EQ(StampAlpha(renderer), 0.0f);
}

TEST_F(MainWindowTest, TicksWithoutCaptureDoNothingAndRecordingTimersStopThemselves) {
    Open();
    window_->SetTimer(ID_TIMER_DISKSPACE, 10000);
    window_->SetTimer(ID_TIMER_FILESIZE, 60000);
    window_->OnTimer(ID_TIMER_DISKSPACE);
    EXPECT_FALSE(Running(ID_TIMER_DISKSPACE));
    EXPECT_TRUE(Running(ID_TIMER_FILESIZE));
    window_->OnTimer(ID_TIMER_FILESIZE);
    EXPECT_FALSE(Running(ID_TIMER_FILESIZE));
    window_->OnTimer(ID_TIMER_STAMP);
    window_->OnTimer(ID_TIMER_SEARCH);
    window_->OnTimer(ID_TIMER_SNAP);
    window_->OnTimer(12345);
    EXPECT_FALSE(Latched(IDC_SEARCH));
    EXPECT_TRUE(Running(ID_TIMER_WATCH));
    EXPECT_TRUE(prompts_.Records().empty());
}

TEST_F(MainWindowTest, WatchTickBeforeTheSettingsAreLoadedDoesNothing) {
    SetDword(setting::kLoginTimeout, 1);
    SetDword(setting::kLoginTimeoutFlag, 1);
    CQuadrelDlg::Services services;
    services.prompts = &prompts_;
    window_ = std::make_unique<CQuadrelDlg>(services);
    ASSERT_EQ(window_->Settings(), nullptr);  // the start-up has not run yet
    window_->OnTimer(ID_TIMER_WATCH);
    EXPECT_EQ(window_->Lock().State().lockCountdown, 0);
    EXPECT_TRUE(Locked());
    // Once loaded, the same tick counts the automatic lock down.
    window_->Create();
    ASSERT_NE(window_->Settings(), nullptr);
    ASSERT_EQ(window_->Lock().State().lockCountdown, 60);
    window_->OnTimer(ID_TIMER_WATCH);
    EXPECT_EQ(window_->Lock().State().lockCountdown, 57);
    EXPECT_TRUE(prompts_.Records().empty());
}

}  // namespace
}  // namespace main_window_test
