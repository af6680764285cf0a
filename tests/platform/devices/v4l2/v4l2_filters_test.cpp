// The three device filters over the V4L2 back-end in a real graph: each input's captured
// pictures leave on its own preview pin, the recorded input's on "Capture Out", the sound
// card's sound on "Audio PCM Out", and a device that disappears ends every stream.
#include <gtest/gtest.h>

#include "platform/com/runtime.h"
#include "platform/devices/command_block.h"
#include "platform/devices/filter_listing.h"
#include "platform/devices/grabber_identity.h"
#include "platform/devices/v4l2/v4l2_grabber.h"
#include "platform/media/interfaces/igraph_builder.h"
#include "platform/media/interfaces/iks_property_set.h"
#include "platform/media/interfaces/imedia_control.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/runtime/media_runtime.h"
#include "tests/platform/devices/recording_sink.h"
#include "tests/platform/devices/v4l2/scripted_sound_source.h"
#include "tests/platform/devices/v4l2/scripted_v4l2_node.h"
#include "tests/support/device_lookup.h"

namespace devices {
namespace {

using devices_test::MarkerOf;
using devices_test::RecordingSink;
using devices_test::ScriptedV4l2Node;
using testing_support::FindDeviceFilter;

ComPtr<IPin> PinOf(IBaseFilter* filter, const char16_t* name) {
    ComPtr<IPin> pin;
    EXPECT_EQ(filter->FindPin(name, pin.ReleaseAndGetAddressOf()), S_OK);
    return pin;
}

class V4l2FiltersTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        RegisterMediaRuntime();
        auto node = std::make_unique<ScriptedV4l2Node>();
        node_ = node.get();
        std::vector<std::unique_ptr<V4l2Node>> nodes;
        nodes.push_back(std::move(node));
        grabber_ = std::make_shared<V4l2Grabber>(std::move(nodes), V4l2GrabberConfig{u"path"},
                                                 clock_, std::move(sound_));
        ASSERT_EQ(grabber_->Open(), 0);
        listing_ = std::make_unique<FilterListing>(grabber_);
        listing_->List();
    }
    void TearDown() override {
        if (control_) control_->Stop();
        control_ = nullptr;
        graph_ = nullptr;
        listing_.reset();
        CoUninitialize();
    }
    ComPtr<RecordingSink> AddSink(IBaseFilter* grabber, const char16_t* pin, const GUID& major) {
        ComPtr<RecordingSink> sink = RecordingSink::Create(major);
        EXPECT_EQ(graph_->AddFilter(sink.Get(), pin), S_OK);
        EXPECT_EQ(graph_->ConnectDirect(PinOf(grabber, pin).Get(), PinOf(sink.Get(), u"In").Get(),
                                        nullptr),
                  S_OK);
        return sink;
    }
    // One frame period of device time, and the device's next frame.
    bool Pump() {
        clock_->Advance(std::chrono::milliseconds(40));
        return grabber_->PumpFrame(0);
    }

    std::shared_ptr<ManualDeviceClock> clock_ = std::make_shared<ManualDeviceClock>();
    // Taken by the grabber in SetUp; a test that wants silence resets it first.
    std::unique_ptr<SoundSource> sound_ = std::make_unique<devices_test::ScriptedSoundSource>();
    ScriptedV4l2Node* node_ = nullptr;  // owned by the grabber
    std::shared_ptr<V4l2Grabber> grabber_;
    std::unique_ptr<FilterListing> listing_;
    ComPtr<IGraphBuilder> graph_;
    ComPtr<IMediaControl> control_;
};

TEST_F(V4l2FiltersTest, CapturedPicturesLeaveOnTheirInputsPinsAndRemovalEndsTheStreams) {
    ComPtr<IBaseFilter> grabber = FindDeviceFilter(kGrabberCategory, kGrabberName);
    ComPtr<IBaseFilter> control = FindDeviceFilter(kDeviceControlCategory, kDeviceControlName);
    ASSERT_TRUE(grabber && control && FindDeviceFilter(kCrossbarCategory, kCrossbarName));
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, &graph_), S_OK);
    ASSERT_EQ(graph_.As(&control_), S_OK);
    ASSERT_EQ(graph_->AddFilter(grabber.Get(), kGrabberName), S_OK);
    std::array<ComPtr<RecordingSink>, 4> previews;
    for (int k = 0; k < 4; ++k)
        previews[k] = AddSink(grabber.Get(), kPreviewPinNames[k], MEDIATYPE_Video);
    ComPtr<RecordingSink> capture = AddSink(grabber.Get(), kCaptureOutName, MEDIATYPE_Video);
    ComPtr<RecordingSink> audio = AddSink(grabber.Get(), kAudioPcmOutName, MEDIATYPE_Audio);

    ComPtr<IKsPropertySet> properties;
    ASSERT_EQ(control.As(&properties), S_OK);
    for (CommandBlock block : {MakeCommandBlock(kCmdSetCycleTiming, 0, 1, {1, 1}),
                               MakeCommandBlock(kCmdSetRecordChannel, 2)})
        ASSERT_EQ(properties->Set(kGrabberPropertySet, kCommandProperty, block.data(), 40,
                                  block.data(), 40),
                  S_OK);
    ASSERT_EQ(control_->Run(), S_OK);
    // Fast turning: per input one settle period and one delivered frame.
    for (int n = 0; n < 4 * (kDefaultSettleFrames + 1); ++n) ASSERT_TRUE(Pump());
    for (int k = 0; k < 4; ++k) ASSERT_TRUE(previews[k]->WaitForSamples(1)) << k;
    ASSERT_TRUE(capture->WaitForSamples(1));
    ASSERT_TRUE(audio->WaitForSamples(1));

    for (int k = 0; k < 4; ++k) {
        const std::vector<BYTE> picture = previews[k]->LastData();
        ASSERT_EQ(picture.size(), 720u * 576u * 2u);
        EXPECT_NEAR(picture[1], MarkerOf(k + 1), 2) << k;
    }
    EXPECT_NEAR(capture->LastData()[1], MarkerOf(2), 2);
    // The sound card's samples: every sample of read n is n (little-endian 16-bit).
    const std::vector<BYTE> pcm = audio->LastData();
    ASSERT_EQ(pcm.size(), 48000u / 25u * 4u);
    EXPECT_GT(pcm[0], 0);
    EXPECT_EQ(pcm[0], pcm[pcm.size() - 2]);

    node_->Remove();
    EXPECT_FALSE(Pump());
    for (int k = 0; k < 4; ++k) EXPECT_TRUE(previews[k]->WaitForEndOfStream()) << k;
    EXPECT_TRUE(capture->WaitForEndOfStream());
    EXPECT_TRUE(audio->WaitForEndOfStream());
}

}  // namespace
}  // namespace devices
