// The filter linked into the test program, for what its COM interfaces do not show: frames
// passing untouched with overlay type 0, and the frame rate taken from the input.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "overlay/filter_title_overlay.h"
#include "platform/com/runtime.h"
#include "platform/media/igraph_builder.h"
#include "platform/media/imedia_control.h"
#include "platform/media/media_clsids.h"
#include "platform/media/media_runtime.h"
#include "tests/overlay/frame_graph.h"

using overlay_test::FrameSink;
using overlay_test::FrameSource;
using overlay_test::PinOf;
using overlay_test::VideoFormat;

namespace {

ComPtr<CFilterTitleOverlay> MakeFilter() {
    HRESULT hr = S_OK;
    CUnknown* object = CFilterTitleOverlay::CreateInstance(nullptr, &hr);
    EXPECT_EQ(hr, S_OK);
    return ComPtr<CFilterTitleOverlay>::Retain(dynamic_cast<CFilterTitleOverlay*>(object));
}

// Source -> filter -> sink in a graph of the runtime.
class LinkedGraph {
  public:
    LinkedGraph(CFilterTitleOverlay* title, const VideoFormat& format, REFERENCE_TIME duration)
        : source(FrameSource::Create(format)), sink(FrameSink::Create()) {
        source->SetFrameDuration(duration);
        EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, &graph), S_OK);
        EXPECT_EQ(graph.As(&control), S_OK);
        graph->AddFilter(source.Get(), u"Source");
        graph->AddFilter(title, u"Title");
        graph->AddFilter(sink.Get(), u"Sink");
        EXPECT_EQ(graph->ConnectDirect(PinOf(source.Get(), u"Out").Get(),
                                       PinOf(title, u"Input").Get(), nullptr),
                  S_OK);
        EXPECT_EQ(graph->ConnectDirect(PinOf(title, u"Output").Get(),
                                       PinOf(sink.Get(), u"In").Get(), nullptr),
                  S_OK);
    }
    // Runs until `count` frames in all have arrived, then stops.
    void RunFrames(int newFrames, int total) {
        ASSERT_EQ(control->Run(), S_OK);
        source->Step(newFrames);
        ASSERT_TRUE(sink->WaitForFrames(total));
        ASSERT_EQ(control->Stop(), S_OK);
    }

    ComPtr<FrameSource> source;
    ComPtr<FrameSink> sink;
    ComPtr<IGraphBuilder> graph;
    ComPtr<IMediaControl> control;
};

class LinkedFilterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        RegisterMediaRuntime();
    }
    void TearDown() override { CoUninitialize(); }
};

TEST_F(LinkedFilterTest, OverlayTypeZeroPassesFramesUntouched) {
    ComPtr<CFilterTitleOverlay> title = MakeFilter();
    VideoFormat format;
    format.width = 352;
    format.height = 288;
    LinkedGraph graph(title.Get(), format, format.avgTimePerFrame);
    ASSERT_EQ(title->SetOverlayTypeInModule(0), S_OK);
    graph.RunFrames(3, 3);
    std::vector<FrameSink::Frame> frames = graph.sink->Frames();
    for (int n = 0; n < 3; ++n) {
        EXPECT_TRUE(frames[n].data == overlay_test::SourceFrame(format.FrameBytes(), n)) << n;
    }
    // Type 1 again: the same stream is stamped.
    ASSERT_EQ(title->SetOverlayTypeInModule(1), S_OK);
    graph.RunFrames(1, 4);
    frames = graph.sink->Frames();
    EXPECT_FALSE(frames[3].data == overlay_test::SourceFrame(format.FrameBytes(), 3));
}

TEST_F(LinkedFilterTest, FrameRateComesFromTheFormatOrElseFromTheFirstSample) {
    struct Case {
        REFERENCE_TIME avgTimePerFrame;
        REFERENCE_TIME sampleDuration;
        double rate;
    };
    const Case cases[] = {
        {400000, 333333, 25.0},          // the format's rate; samples do not change it
        {333333, 400000, 1e7 / 333333},  //
        {0, 333333, 1e7 / 333333},       // no rate in the format: the first sample's
        {-1, 200000, 50.0},              //
        {0, 0, 25.0},                    // a sample that ends where it starts
        {0, -400000, 25.0},              // or before: no usable rate
    };
    for (const Case& c : cases) {
        ComPtr<CFilterTitleOverlay> title = MakeFilter();
        VideoFormat format;
        format.width = 64;
        format.height = 48;
        format.avgTimePerFrame = c.avgTimePerFrame;
        LinkedGraph graph(title.Get(), format, c.sampleDuration);
        const double connected = title->Controller()->GetFrameRate();
        EXPECT_DOUBLE_EQ(connected, c.avgTimePerFrame > 0 ? 1e7 / c.avgTimePerFrame : 25.0);
        graph.RunFrames(2, 2);
        EXPECT_DOUBLE_EQ(title->Controller()->GetFrameRate(), c.rate)
            << c.avgTimePerFrame << " " << c.sampleDuration;
    }
}

TEST_F(LinkedFilterTest, FirstSampleRateCanBeReadWhileTheStreamRuns) {
    ComPtr<CFilterTitleOverlay> title = MakeFilter();
    VideoFormat format;
    format.width = 352;
    format.height = 288;
    format.avgTimePerFrame = 0;  // the rate comes from the first sample: 50 frames a second
    LinkedGraph graph(title.Get(), format, 200000);
    ASSERT_EQ(graph.control->Run(), S_OK);
    // The overlay type is the streaming thread's while it runs: a change is refused.
    EXPECT_EQ(title->SetOverlayTypeInModule(0), E_UNEXPECTED);
    graph.source->Step(1);
    // Read, with no other ordering against the streaming thread, until the rate shows.
    const COverlayController* controller = title->Controller();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (controller->GetFrameRate() != 50.0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
    EXPECT_DOUBLE_EQ(controller->GetFrameRate(), 50.0);
    ASSERT_TRUE(graph.sink->WaitForFrames(1));
    ASSERT_EQ(graph.control->Stop(), S_OK);
    // The refused change left frames stamped.
    EXPECT_FALSE(graph.sink->Frames()[0].data == overlay_test::SourceFrame(format.FrameBytes(), 0));
    EXPECT_EQ(title->SetOverlayTypeInModule(0), S_OK);
}

TEST_F(LinkedFilterTest, StreamingCannotStartWithoutAConnectedFormat) {
    ComPtr<CFilterTitleOverlay> title = MakeFilter();
    // Never connected: no pixel format, so the drawing cannot become ready.
    EXPECT_EQ(title->StartStreaming(), E_FAIL);
    EXPECT_EQ(title->StopStreaming(), S_OK);
}

}  // namespace
