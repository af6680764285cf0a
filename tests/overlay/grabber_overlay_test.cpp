// The overlay filter of the registered library on the simulated grabber's "Capture Out", as a
// recording uses it: the grabber's frames come out with the title and the stamp burned in, and
// untouched everywhere else.
#include <gtest/gtest.h>

#include <algorithm>

#include "overlay/interface/imerge_overlay.h"
#include "platform/com/runtime.h"
#include "platform/devices/command_block.h"
#include "platform/devices/scenario.h"
#include "platform/devices/simulated_device.h"
#include "platform/media/interfaces/icreate_dev_enum.h"
#include "platform/media/interfaces/ienum_moniker.h"
#include "platform/media/interfaces/igraph_builder.h"
#include "platform/media/interfaces/iks_property_set.h"
#include "platform/media/interfaces/imedia_control.h"
#include "platform/media/interfaces/imoniker.h"
#include "platform/media/interfaces/iproperty_bag.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/runtime/media_runtime.h"
#include "tests/overlay/frame_graph.h"
#include "tests/overlay/vexlay_library.h"
#include "tests/support/device_lookup.h"
#include "tests/support/temp_dir.h"

using namespace std::chrono_literals;
using overlay_test::FrameSink;
using overlay_test::PinOf;

namespace {

// The rectangle (in pixels) of the frame where `a` and `b` differ; empty when they do not.
struct Box {
    int left = 720, top = 576, right = -1, bottom = -1;
    bool Empty() const { return right < left; }
};
Box Differences(const std::vector<BYTE>& a, const std::vector<BYTE>& b, int x0, int x1, int y0,
                int y1) {
    Box box;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * 1440 + x * 2;
            if (a[at] == b[at] && a[at + 1] == b[at + 1]) continue;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    return box;
}

TEST(GrabberOverlayTest, CaptureFramesCarryTheTitleAndTheStampAndNothingElse) {
    testing_support::TempRegistry registry;
    testing_support::ScopedEnv silent("QUADREL_AUDIO_DEVICE", "none");
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    RegisterMediaRuntime();
    {
        VexlayLibrary library;
        ASSERT_TRUE(library.Loaded());
        ASSERT_EQ(library.Register(), S_OK);

        devices::Scenario scenario;
        std::string error;
        ASSERT_TRUE(devices::ParseScenario("signal=1", &scenario, &error)) << error;
        auto clock = std::make_shared<devices::ManualDeviceClock>();
        devices::SimulatedDevice device(scenario, clock);

        ComPtr<IBaseFilter> grabber = testing_support::FindDeviceFilter(
            CLSID_VideoInputDeviceCategory, u"QVD Grabber Device");
        ComPtr<IBaseFilter> control =
            testing_support::FindDeviceFilter(KSCATEGORY_DEVICECONTROL, u"QV Device Control");
        ASSERT_TRUE(grabber && control);
        ComPtr<IBaseFilter> tee, title;
        ASSERT_EQ(CoCreateInstance(CLSID_InfTee, nullptr, CLSCTX_INPROC_SERVER, &tee), S_OK);
        ASSERT_EQ(CoCreateInstance(CLSID_MergeOverlay, nullptr, CLSCTX_INPROC_SERVER, &title),
                  S_OK);
        ComPtr<IMergeOverlay> overlay;
        ASSERT_EQ(title.As(&overlay), S_OK);
        const std::u16string text = u"Gate 1";
        ASSERT_EQ(overlay->SetTitle(text.c_str(), static_cast<int>(text.size() * 2 + 2)), S_OK);

        ComPtr<IGraphBuilder> graph;
        ComPtr<IMediaControl> run;
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, &graph), S_OK);
        ASSERT_EQ(graph.As(&run), S_OK);
        ComPtr<FrameSink> stamped = FrameSink::Create(), raw = FrameSink::Create();
        ASSERT_EQ(graph->AddFilter(grabber.Get(), u"QVD Grabber Device"), S_OK);
        ASSERT_EQ(graph->AddFilter(tee.Get(), u"Tee"), S_OK);
        ASSERT_EQ(graph->AddFilter(title.Get(), u"Title"), S_OK);
        ASSERT_EQ(graph->AddFilter(stamped.Get(), u"Stamped"), S_OK);
        ASSERT_EQ(graph->AddFilter(raw.Get(), u"Raw"), S_OK);
        ASSERT_EQ(graph->ConnectDirect(PinOf(grabber.Get(), u"Capture Out").Get(),
                                       PinOf(tee.Get(), u"Input").Get(), nullptr),
                  S_OK);
        ASSERT_EQ(graph->ConnectDirect(PinOf(tee.Get(), u"Output1").Get(),
                                       PinOf(title.Get(), u"Input").Get(), nullptr),
                  S_OK);
        ASSERT_EQ(graph->ConnectDirect(PinOf(title.Get(), u"Output").Get(),
                                       PinOf(stamped.Get(), u"In").Get(), nullptr),
                  S_OK);
        ASSERT_EQ(graph->ConnectDirect(PinOf(tee.Get(), u"Output2").Get(),
                                       PinOf(raw.Get(), u"In").Get(), nullptr),
                  S_OK);

        // Record input 1 with the decoder fixed on it, as the recorder does.
        ComPtr<IKsPropertySet> properties;
        ASSERT_EQ(control.As(&properties), S_OK);
        for (auto block : {devices::MakeCommandBlock(devices::kCmdSelectDisplayChannel, 1),
                           devices::MakeCommandBlock(devices::kCmdSetRecordChannel, 1)})
            ASSERT_EQ(properties->Set(devices::kGrabberPropertySet, devices::kCommandProperty,
                                      block.data(), 40, block.data(), 40),
                      S_OK);
        ASSERT_EQ(run->Run(), S_OK);
        for (int i = 0; i < 5; ++i) {
            clock->Advance(40ms);
            device.Grabber().Update();
        }
        ASSERT_TRUE(stamped->WaitForFrames(3));
        ASSERT_TRUE(raw->WaitForFrames(3));
        ASSERT_EQ(run->Stop(), S_OK);

        const std::vector<FrameSink::Frame> out = stamped->Frames(), in = raw->Frames();
        int compared = 0;
        for (const FrameSink::Frame& frame : out) {
            const auto twin = std::find_if(in.begin(), in.end(), [&](const FrameSink::Frame& f) {
                return f.start == frame.start;
            });
            if (twin == in.end()) continue;
            ASSERT_EQ(frame.data.size(), 720u * 576 * 2);
            ++compared;
            // The title sits in the top-left corner, the stamp in the bottom-right one.
            const Box titleBox = Differences(frame.data, twin->data, 0, 360, 0, 60);
            ASSERT_FALSE(titleBox.Empty()) << "no title";
            EXPECT_LT(titleBox.left, 8);
            EXPECT_LT(titleBox.top, 8);
            const Box stampBox = Differences(frame.data, twin->data, 360, 720, 516, 576);
            ASSERT_FALSE(stampBox.Empty()) << "no stamp";
            EXPECT_GE(stampBox.right, 712);
            EXPECT_GE(stampBox.bottom, 568);
            // Nothing changes between the two bands.
            EXPECT_TRUE(Differences(frame.data, twin->data, 0, 720, 60, 516).Empty());
        }
        EXPECT_GE(compared, 1);
        graph = nullptr;
    }
    CoUninitialize();
}

}  // namespace
