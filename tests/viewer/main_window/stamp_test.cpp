// The preview stamp as the running viewer drives it: the title limit and a refresh that stops at
// a pane without renderer.
#include "platform/media/interfaces/ivmr_mixer_bitmap9.h"
#include "tests/viewer/main_window/main_window_fixture.h"
#include "viewer/capture/preview_stamp.h"

namespace main_window_test {
namespace {

float StampAlpha(const ComPtr<IBaseFilter>& renderer) {
    ComPtr<IVMRMixerBitmap9> mixer;
    EXPECT_EQ(renderer.As(&mixer), S_OK);
    VMR9AlphaBitmap parameters{};
    EXPECT_EQ(mixer->GetAlphaBitmapParameters(&parameters), S_OK);
    return parameters.fAlpha;
}

class StampTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Attach("");
        Open();
        graph_ = window_->Capture().Graph();
        ASSERT_NE(graph_, nullptr);
    }
    CaptureGraph* graph_ = nullptr;
};

TEST_F(StampTest, TitleOfExactly256CharactersIsTakenAnd257Refused) {
    const std::u16string longest(256, u'标');
    EXPECT_EQ(SetChannelTitle(graph_, longest.c_str(), 1), S_OK);
    EXPECT_EQ(std::u16string(graph_->channelTitles[1]), longest);
    const std::u16string tooLong(257, u'x');
    EXPECT_EQ(SetChannelTitle(graph_, tooLong.c_str(), 1), E_INVALIDARG);
    EXPECT_EQ(std::u16string(graph_->channelTitles[1]), longest);
    EXPECT_EQ(SetChannelTitle(graph_, nullptr, 1), E_INVALIDARG);
}

TEST_F(StampTest, RefreshOfAllPanesStopsAtAPaneWithoutRenderer) {
    graph_->showTitle = 0;
    graph_->showTime = 0;
    // Pane 1 loses its renderer: panes 2 to 4 are not redrawn after it.
    ComPtr<IBaseFilter> first = std::move(graph_->renderers[0]);
    EXPECT_EQ(RefreshAllStamps(graph_), E_FAIL);
    for (int k = 1; k < 4; ++k) EXPECT_FLOAT_EQ(StampAlpha(graph_->renderers[k]), 1.0f) << k;
    // A pane further on stops only the ones after it.
    graph_->renderers[0] = std::move(first);
    ComPtr<IBaseFilter> third = std::move(graph_->renderers[2]);
    EXPECT_EQ(RefreshAllStamps(graph_), E_FAIL);
    EXPECT_FLOAT_EQ(StampAlpha(graph_->renderers[0]), 0.0f);
    EXPECT_FLOAT_EQ(StampAlpha(graph_->renderers[1]), 0.0f);
    EXPECT_FLOAT_EQ(StampAlpha(graph_->renderers[3]), 1.0f);
    graph_->renderers[2] = std::move(third);
    EXPECT_EQ(RefreshAllStamps(graph_), S_OK);
    EXPECT_FLOAT_EQ(StampAlpha(graph_->renderers[3]), 0.0f);
}

TEST_F(StampTest, RemovalTurnsAHiddenStampBackOnBeforeFreeingTheGraph) {
    window_->SetLatched(IDC_SHOW_STAMP, false);
    SetTitleVisible(graph_, false);
    SetTimeVisible(graph_, false);
    ASSERT_FLOAT_EQ(StampAlpha(graph_->renderers[0]), 0.0f);
    // Keep a renderer to look at after the graph is gone.
    const ComPtr<IBaseFilter> renderer = graph_->renderers[0];
    ASSERT_TRUE(
        DeviceChange(devices::DBT_DEVICEREMOVECOMPLETE, Record(devices::kSimulatedDevicePath)));
    EXPECT_FLOAT_EQ(StampAlpha(renderer), 1.0f);
    EXPECT_TRUE(window_->IsLatched(IDC_SHOW_STAMP));
}

}  // namespace
}  // namespace main_window_test
