// The filter linked into the test program, for what its COM interfaces do not show: the stamp
// drawn from a clock the test sets, frames passing untouched with overlay type 0, and the frame
// rate taken from the input.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "overlay/filter_title_overlay.h"
#include "platform/com/runtime.h"
#include "platform/media/interfaces/igraph_builder.h"
#include "platform/media/interfaces/imedia_control.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/runtime/media_runtime.h"
#include "tests/overlay/frame_graph.h"
#include "tests/overlay/overlay_test_support.h"

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

// A stamp clock the test sets: the filter reads it on its streaming thread, the test changes it
// only between frames.
class SetClock {
  public:
    SetClock() : m_second(std::make_shared<std::atomic<int>>(0)) {}
    void Set(int second) { m_second->store(second); }
    StampClock Clock() const {
        return [second = m_second] {
            const int s = second->load();
            return StampTime{2011, 6, 13, 9, 5 + s / 60, s % 60};
        };
    }
    static std::u16string Text(int second) {
        char text[32];
        std::snprintf(text, sizeof text, "2011-06-13(09:%02d:%02d)", 5 + second / 60, second % 60);
        return std::u16string(text, text + std::char_traits<char>::length(text));
    }

  private:
    std::shared_ptr<std::atomic<int>> m_second;
};

// Frame `n` of the source as the filter must leave it: `title` at (0,0) and `stamp` flush with
// the bottom-right corner.
std::vector<BYTE> StampedFrame(const VideoFormat& format, int n, const std::u16string& title,
                               const std::u16string& stamp) {
    const FrameLayout layout{kPixelFormatUYVY, format.width, format.height, format.width * 2,
                             false};
    std::vector<BYTE> frame = overlay_test::SourceFrame(format.FrameBytes(), n);
    const TextBitmap titleBits = RenderedText(title);
    const TextBitmap stampBits = RenderedText(stamp);
    EXPECT_GT(titleBits.cx, 0);
    EXPECT_GT(stampBits.cx, 0);
    ReferenceBlend(frame, layout, titleBits, POINT{0, 0}, true);
    ReferenceBlend(frame, layout, stampBits,
                   POINT{format.width - stampBits.cx, format.height - stampBits.cy}, true);
    return frame;
}

class LinkedFilterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        RegisterMediaRuntime();
    }
    void TearDown() override { CoUninitialize(); }
};

TEST_F(LinkedFilterTest, EveryFrameCarriesTheTitleAndTheStampOfItsOwnTime) {
    ComPtr<CFilterTitleOverlay> title = MakeFilter();
    const std::u16string name = u"Gate 3 / 大门";
    ASSERT_EQ(title->SetTitle(name.c_str(), static_cast<int>(2 * (name.size() + 1))), S_OK);
    const VideoFormat format;
    LinkedGraph graph(title.Get(), format, format.avgTimePerFrame);
    SetClock clock;
    title->Controller()->SetStampClock(clock.Clock());

    // The clock moves between frames, once across a minute: each frame shows the time it was
    // drawn at, and an unchanged time draws the same stamp again.
    constexpr int kSeconds[] = {7, 7, 8, 59, 60, 61};
    constexpr int kFrames = static_cast<int>(std::size(kSeconds));
    ASSERT_EQ(graph.control->Run(), S_OK);
    for (int n = 0; n < kFrames; ++n) {
        clock.Set(kSeconds[n]);
        graph.source->Step(1);
        ASSERT_TRUE(graph.sink->WaitForFrames(n + 1));
    }
    ASSERT_EQ(graph.control->Stop(), S_OK);

    const std::vector<FrameSink::Frame> frames = graph.sink->Frames();
    ASSERT_EQ(frames.size(), static_cast<std::size_t>(kFrames));
    for (int n = 0; n < kFrames; ++n) {
        EXPECT_TRUE(frames[n].data == StampedFrame(format, n, name, SetClock::Text(kSeconds[n])))
            << "frame " << n;
        // Times pass through unchanged.
        EXPECT_EQ(frames[n].start, n * 400000);
        EXPECT_EQ(frames[n].stop, (n + 1) * 400000);
    }
}

TEST_F(LinkedFilterTest, TitleIsRefusedUnlessStoppedAndTheNextRunShowsTheNewOne) {
    ComPtr<CFilterTitleOverlay> title = MakeFilter();
    VideoFormat small;
    small.width = 320;
    small.height = 240;
    LinkedGraph graph(title.Get(), small, small.avgTimePerFrame);
    SetClock clock;
    title->Controller()->SetStampClock(clock.Clock());

    ASSERT_EQ(graph.control->Pause(), S_OK);
    EXPECT_EQ(title->SetTitle(u"Paused", 14), E_UNEXPECTED);
    ASSERT_EQ(graph.control->Run(), S_OK);
    EXPECT_EQ(title->SetTitle(u"Running", 16), E_UNEXPECTED);
    clock.Set(10);
    graph.source->Step(1);
    ASSERT_TRUE(graph.sink->WaitForFrames(1));
    ASSERT_EQ(graph.control->Stop(), S_OK);

    EXPECT_EQ(title->SetTitle(u"Yard", 10), S_OK);
    clock.Set(11);
    graph.RunFrames(1, 2);

    const std::vector<FrameSink::Frame> frames = graph.sink->Frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_TRUE(frames[0].data == StampedFrame(small, 0, u"Channel 1!", SetClock::Text(10)));
    EXPECT_TRUE(frames[1].data == StampedFrame(small, 1, u"Yard", SetClock::Text(11)));
}

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
