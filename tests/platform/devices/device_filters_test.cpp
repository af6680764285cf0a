// The three device filters in a real graph: found by name through the system device
// enumerator, connected crossbar to grabber, streaming to sinks while the test steps the
// device's clock.
#include <gtest/gtest.h>

#include "tests/support/device_lookup.h"

#include "platform/com/ispecify_property_pages.h"
#include "platform/com/runtime.h"
#include "platform/devices/camera_scene.h"
#include "platform/devices/command_block.h"
#include "platform/devices/grabber_identity.h"
#include "platform/devices/property_handler.h"
#include "platform/devices/simulated_device.h"
#include "platform/media/base/free_pin.h"
#include "platform/media/interfaces/iam_analog_video_decoder.h"
#include "platform/media/interfaces/icreate_dev_enum.h"
#include "platform/media/interfaces/ienum_moniker.h"
#include "platform/media/interfaces/ienum_pins.h"
#include "platform/media/interfaces/igraph_builder.h"
#include "platform/media/interfaces/iks_property_set.h"
#include "platform/media/interfaces/imedia_control.h"
#include "platform/media/interfaces/imoniker.h"
#include "platform/media/interfaces/iproperty_bag.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/interfaces/media_errors.h"
#include "platform/media/interfaces/variant.h"
#include "platform/media/runtime/media_runtime.h"
#include "tests/platform/devices/recording_sink.h"

namespace devices {
using testing_support::FindDeviceFilter;
using testing_support::FriendlyName;

namespace {

using devices_test::ReceivedSample;
using devices_test::RecordingSink;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;
using std::chrono::seconds;

Scenario ScenarioOf(std::string_view text) {
    Scenario scenario;
    std::string error;
    EXPECT_TRUE(ParseScenario(text, &scenario, &error)) << error;
    return scenario;
}

struct PinSeen {
    std::u16string name;
    PIN_DIRECTION direction;
    friend bool operator==(const PinSeen&, const PinSeen&) = default;
};

std::vector<PinSeen> PinsOf(IBaseFilter* filter) {
    std::vector<PinSeen> pins;
    ComPtr<IEnumPins> it;
    EXPECT_EQ(filter->EnumPins(it.ReleaseAndGetAddressOf()), S_OK);
    for (;;) {
        ComPtr<IPin> pin;
        if (it->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) != S_OK) break;
        PIN_INFO info{};
        EXPECT_EQ(pin->QueryPinInfo(&info), S_OK);
        if (info.pFilter) info.pFilter->Release();
        pins.push_back({info.achName, info.dir});
    }
    return pins;
}

ComPtr<IPin> PinOf(IBaseFilter* filter, const char16_t* name) {
    ComPtr<IPin> pin;
    EXPECT_EQ(filter->FindPin(name, pin.ReleaseAndGetAddressOf()), S_OK) << "no pin";
    return pin;
}

class DeviceFiltersTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        RegisterMediaRuntime();
    }
    void TearDown() override {
        if (control_) control_->Stop();
        control_ = nullptr;
        graph_ = nullptr;
        device_.reset();
        CoUninitialize();
    }

    void Attach(std::string_view scenario) {
        device_ = std::make_unique<SimulatedDevice>(ScenarioOf(scenario), clock_);
    }
    SimulatedGrabber& Grabber() { return device_->Grabber(); }

    // Moves the device clock to `t` and lets the device catch up.
    void StepTo(nanoseconds t) {
        clock_->Set(t);
        Grabber().Update();
    }

    // A graph with the three filters found by name, crossbar connected to grabber.
    void BuildGraph() {
        grabber_ = FindDeviceFilter(kGrabberCategory, kGrabberName);
        crossbar_ = FindDeviceFilter(kCrossbarCategory, kCrossbarName);
        deviceControl_ = FindDeviceFilter(kDeviceControlCategory, kDeviceControlName);
        ASSERT_TRUE(grabber_ && crossbar_ && deviceControl_);
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, &graph_),
                  S_OK);
        ASSERT_EQ(graph_.As(&control_), S_OK);
        ASSERT_EQ(graph_->AddFilter(crossbar_.Get(), kCrossbarName), S_OK);
        ASSERT_EQ(graph_->AddFilter(grabber_.Get(), kGrabberName), S_OK);
        ASSERT_EQ(graph_->AddFilter(deviceControl_.Get(), kDeviceControlName), S_OK);
        ASSERT_EQ(graph_->ConnectDirect(PinOf(crossbar_.Get(), kVideoDecoderOutName).Get(),
                                        PinOf(grabber_.Get(), kVideoTunerInName).Get(), nullptr),
                  S_OK);
        ASSERT_EQ(graph_->ConnectDirect(PinOf(crossbar_.Get(), kAudioDecoderOutName).Get(),
                                        PinOf(grabber_.Get(), kAudioTunerInName).Get(), nullptr),
                  S_OK);
        ASSERT_EQ(deviceControl_.As(&properties_), S_OK);
    }

    ComPtr<RecordingSink> AddSink(const char16_t* grabberPin, const GUID& majorType) {
        ComPtr<RecordingSink> sink = RecordingSink::Create(majorType);
        EXPECT_EQ(graph_->AddFilter(sink.Get(), grabberPin), S_OK);
        EXPECT_EQ(graph_->ConnectDirect(PinOf(grabber_.Get(), grabberPin).Get(),
                                        PinOf(sink.Get(), u"In").Get(), nullptr),
                  S_OK);
        return sink;
    }

    HRESULT Send(CommandBlock block) {
        return properties_->Set(kGrabberPropertySet, kCommandProperty, block.data(), 40,
                                block.data(), 40);
    }

    // Device frame `frame` of camera `input` at the size of `format`.
    static std::vector<BYTE> Frame(int input, std::uint64_t frame, const VideoFormat& format) {
        std::vector<BYTE> picture(format.FrameBytes());
        CameraScene(input).Render(frame, format, picture);
        return picture;
    }

    std::shared_ptr<ManualDeviceClock> clock_ = std::make_shared<ManualDeviceClock>();
    std::unique_ptr<SimulatedDevice> device_;
    ComPtr<IGraphBuilder> graph_;
    ComPtr<IMediaControl> control_;
    ComPtr<IBaseFilter> grabber_;
    ComPtr<IBaseFilter> crossbar_;
    ComPtr<IBaseFilter> deviceControl_;
    ComPtr<IKsPropertySet> properties_;
};

const VideoFormat kPal{720, 576, 25};
const VideoFormat kNtsc{720, 480, 30};

TEST_F(DeviceFiltersTest, ThreeFiltersByNameWithTheirPinsAndInterfaces) {
    Attach("");
    ComPtr<IBaseFilter> grabber = FindDeviceFilter(kGrabberCategory, kGrabberName);
    ComPtr<IBaseFilter> crossbar = FindDeviceFilter(kCrossbarCategory, kCrossbarName);
    ComPtr<IBaseFilter> control = FindDeviceFilter(kDeviceControlCategory, kDeviceControlName);
    ASSERT_TRUE(grabber && crossbar && control);
    // Each only in its own category.
    EXPECT_FALSE(FindDeviceFilter(kCrossbarCategory, kGrabberName));
    EXPECT_FALSE(FindDeviceFilter(kGrabberCategory, kDeviceControlName));

    const std::vector<PinSeen> grabberPins = {
        {u"Video Tuner In", PINDIR_INPUT}, {u"Audio Tuner In", PINDIR_INPUT},
        {u"PreView One", PINDIR_OUTPUT},   {u"PreView Two", PINDIR_OUTPUT},
        {u"PreView Three", PINDIR_OUTPUT}, {u"PreView Four", PINDIR_OUTPUT},
        {u"Capture Out", PINDIR_OUTPUT},   {u"Audio PCM Out", PINDIR_OUTPUT}};
    EXPECT_EQ(PinsOf(grabber.Get()), grabberPins);
    const std::vector<PinSeen> crossbarPins = {{u"0: Video Decoder Out", PINDIR_OUTPUT},
                                               {u"1: Audio Decoder Out", PINDIR_OUTPUT}};
    EXPECT_EQ(PinsOf(crossbar.Get()), crossbarPins);
    EXPECT_TRUE(PinsOf(control.Get()).empty());

    ComPtr<IKsPropertySet> properties;
    EXPECT_EQ(control.As(&properties), S_OK);
    ComPtr<IAMAnalogVideoDecoder> decoder;
    ASSERT_EQ(grabber.As(&decoder), S_OK);
    LONG standard = 0;
    EXPECT_EQ(decoder->get_TVFormat(&standard), S_OK);
    EXPECT_EQ(standard, AnalogVideo_PAL_D);
    EXPECT_EQ(decoder->get_AvailableTVFormats(&standard), S_OK);
    EXPECT_EQ(standard, kSupportedVideoStandards);

    ComPtr<ISpecifyPropertyPages> pages;
    ASSERT_EQ(grabber.As(&pages), S_OK);
    CAUUID ids{};
    ASSERT_EQ(pages->GetPages(&ids), S_OK);
    ASSERT_EQ(ids.cElems, 1u);
    EXPECT_EQ(ids.pElems[0], CLSID_GrabberPropertyPage);
    CoTaskMemFree(ids.pElems);
}

TEST_F(DeviceFiltersTest, BoundFiltersShareOneDevice) {
    Attach("");
    ComPtr<IBaseFilter> control = FindDeviceFilter(kDeviceControlCategory, kDeviceControlName);
    ComPtr<IBaseFilter> grabber = FindDeviceFilter(kGrabberCategory, kGrabberName);
    ComPtr<IKsPropertySet> properties;
    ASSERT_EQ(control.As(&properties), S_OK);
    CommandBlock select = MakeCommandBlock(kCmdSelectDisplayChannel, 3);
    ASSERT_EQ(properties->Set(kGrabberPropertySet, kCommandProperty, select.data(), 40,
                              select.data(), 40),
              S_OK);
    EXPECT_EQ(Grabber().Status().input, 3);
    ComPtr<IAMAnalogVideoDecoder> decoder;
    ASSERT_EQ(grabber.As(&decoder), S_OK);
    ASSERT_EQ(decoder->put_TVFormat(AnalogVideo_NTSC_M), S_OK);
    EXPECT_EQ(Grabber().Status().format, kNtsc);
    LONG lines = 0;
    EXPECT_EQ(decoder->get_NumberOfLines(&lines), S_OK);
    EXPECT_EQ(lines, 525);
    EXPECT_EQ(decoder->put_TVFormat(AnalogVideo_SECAM_D), E_INVALIDARG);
}

TEST_F(DeviceFiltersTest, RemovalTakesTheFiltersOffTheListAndArrivalPutsThemBack) {
    Attach("2s remove; 4s arrive");
    EXPECT_TRUE(device_->Listed());
    StepTo(seconds(2));
    EXPECT_FALSE(device_->Listed());
    EXPECT_FALSE(FindDeviceFilter(kGrabberCategory, kGrabberName));
    EXPECT_FALSE(FindDeviceFilter(kCrossbarCategory, kCrossbarName));
    EXPECT_FALSE(FindDeviceFilter(kDeviceControlCategory, kDeviceControlName));
    StepTo(seconds(4));
    EXPECT_TRUE(FindDeviceFilter(kGrabberCategory, kGrabberName));
    EXPECT_TRUE(FindDeviceFilter(kCrossbarCategory, kCrossbarName));
    EXPECT_TRUE(FindDeviceFilter(kDeviceControlCategory, kDeviceControlName));
}

TEST_F(DeviceFiltersTest, AbsentDeviceIsNotListed) {
    Attach("absent");
    EXPECT_FALSE(device_->Listed());
    EXPECT_FALSE(FindDeviceFilter(kGrabberCategory, kGrabberName));
}

TEST_F(DeviceFiltersTest, EachInputsFramesGoOutOnItsOwnPreviewOnlyWithSignal) {
    Attach("signal=1,3");
    BuildGraph();
    std::array<ComPtr<RecordingSink>, 4> previews;
    for (int k = 0; k < 4; ++k) previews[k] = AddSink(kPreviewPinNames[k], MEDIATYPE_Video);
    ComPtr<RecordingSink> capture = AddSink(kCaptureOutName, MEDIATYPE_Video);
    ComPtr<RecordingSink> audio = AddSink(kAudioPcmOutName, MEDIATYPE_Audio);
    // Fast turning over all inputs; input 3 recorded.
    ASSERT_EQ(Send(MakeCommandBlock(kCmdSetCycleTiming, 0, 1, {1, 1})), S_OK);
    ASSERT_EQ(Send(MakeCommandBlock(kCmdSetRecordChannel, 3)), S_OK);
    ASSERT_EQ(control_->Run(), S_OK);

    // The tick at 0 ms went by before the run; ticks 1 to 8 visit inputs 2, 3, 4, 1, 2, 3, 4, 1.
    for (int n = 1; n <= 8; ++n) StepTo(milliseconds(40 * n));
    ASSERT_TRUE(previews[0]->WaitForSamples(2));
    ASSERT_TRUE(previews[2]->WaitForSamples(2));
    ASSERT_TRUE(capture->WaitForSamples(2));
    ASSERT_TRUE(audio->WaitForSamples(8));
    ASSERT_EQ(control_->Stop(), S_OK);  // joins the streaming threads: the counts are final

    auto starts = [](const std::vector<ReceivedSample>& samples) {
        std::vector<REFERENCE_TIME> t;
        for (const ReceivedSample& s : samples) t.push_back(s.start);
        return t;
    };
    const std::vector<ReceivedSample> one = previews[0]->Samples();
    EXPECT_EQ(starts(one), (std::vector<REFERENCE_TIME>{1'600'000, 3'200'000}));
    EXPECT_EQ(one[0].stop, 2'000'000);
    EXPECT_EQ(one[0].length, 720 * 576 * 2);
    EXPECT_TRUE(one[0].discontinuity);
    EXPECT_FALSE(one[1].discontinuity);
    EXPECT_EQ(previews[0]->LastData(), Frame(1, 8, kPal));

    EXPECT_EQ(starts(previews[2]->Samples()), (std::vector<REFERENCE_TIME>{800'000, 2'400'000}));
    EXPECT_EQ(previews[2]->LastData(), Frame(3, 6, kPal));
    EXPECT_TRUE(previews[1]->Samples().empty());
    EXPECT_TRUE(previews[3]->Samples().empty());

    EXPECT_EQ(starts(capture->Samples()), (std::vector<REFERENCE_TIME>{800'000, 2'400'000}));
    EXPECT_EQ(capture->LastData(), Frame(3, 6, kPal));

    const std::vector<ReceivedSample> sound = audio->Samples();
    ASSERT_EQ(sound.size(), 8u);
    for (std::size_t i = 0; i < sound.size(); ++i) {
        EXPECT_EQ(sound[i].length, 1920 * 4);
        EXPECT_EQ(sound[i].start, static_cast<REFERENCE_TIME>(400'000 * (i + 1)));
    }
}

TEST_F(DeviceFiltersTest, VideoStandardChangeTakesTheRateAtOnceAndTheSizeAtReconnection) {
    Attach("");
    BuildGraph();
    ComPtr<RecordingSink> preview = AddSink(kPreviewPinNames[1], MEDIATYPE_Video);
    ASSERT_EQ(Send(MakeCommandBlock(kCmdSelectDisplayChannel, 2)), S_OK);
    ASSERT_EQ(control_->Run(), S_OK);
    StepTo(milliseconds(40));
    StepTo(milliseconds(80));
    ASSERT_TRUE(preview->WaitForSamples(2));

    ComPtr<IAMAnalogVideoDecoder> decoder;
    ASSERT_EQ(grabber_.As(&decoder), S_OK);
    ASSERT_EQ(decoder->put_TVFormat(AnalogVideo_NTSC_M), S_OK);
    StepTo(milliseconds(180));  // three 30-per-second frames after the change
    ASSERT_TRUE(preview->WaitForSamples(5));
    ASSERT_EQ(control_->Stop(), S_OK);

    std::vector<ReceivedSample> s = preview->Samples();
    ASSERT_EQ(s.size(), 5u);
    for (const ReceivedSample& sample : s) {
        EXPECT_EQ(sample.length, 720 * 576 * 2);  // the connected size
        EXPECT_FALSE(sample.newHeight);
    }
    EXPECT_EQ(s[0].start, 400'000);
    EXPECT_EQ(s[1].start, 800'000);
    EXPECT_EQ(s[2].start, 800'000 + 333'333);
    EXPECT_EQ(s[4].start, 1'800'000);
    // Device frame 5 (the third at 30 per second, at 180 ms), drawn at the connected size.
    EXPECT_EQ(preview->LastData(), Frame(2, 5, kPal));

    // Connected again, the pin takes the new standard's size.
    const ComPtr<IPin> out = PinOf(grabber_.Get(), kPreviewPinNames[1]);
    const ComPtr<IPin> in = PinOf(preview.Get(), u"In");
    ASSERT_EQ(graph_->Disconnect(out.Get()), S_OK);
    ASSERT_EQ(graph_->Disconnect(in.Get()), S_OK);
    ASSERT_EQ(graph_->ConnectDirect(out.Get(), in.Get(), nullptr), S_OK);
    ASSERT_EQ(control_->Run(), S_OK);
    StepTo(milliseconds(280));  // device frames 6, 7 and 8
    ASSERT_TRUE(preview->WaitForSamples(8));
    s = preview->Samples();
    EXPECT_EQ(s.back().length, 720 * 480 * 2);
    EXPECT_EQ(preview->LastData(), Frame(2, 8, kNtsc));
}

TEST_F(DeviceFiltersTest, RemovalEndsTheStreamsAndSilencesTheDevice) {
    Attach("signal=1; 1s remove");
    BuildGraph();
    ComPtr<RecordingSink> preview = AddSink(kPreviewPinNames[0], MEDIATYPE_Video);
    ComPtr<RecordingSink> audio = AddSink(kAudioPcmOutName, MEDIATYPE_Audio);
    ASSERT_EQ(Send(MakeCommandBlock(kCmdSelectDisplayChannel, 1)), S_OK);
    ASSERT_EQ(control_->Run(), S_OK);
    StepTo(milliseconds(40));
    ASSERT_TRUE(preview->WaitForSamples(1));
    EXPECT_FALSE(preview->EndOfStreamSeen());
    StepTo(seconds(1));
    EXPECT_TRUE(preview->WaitForEndOfStream());
    EXPECT_TRUE(audio->WaitForEndOfStream());
    EXPECT_EQ(Send(MakeCommandBlock(kCmdStartSearch)), kE_DeviceNotConnected);
    EXPECT_FALSE(FindDeviceFilter(kGrabberCategory, kGrabberName));
    ASSERT_EQ(control_->Stop(), S_OK);
    // Frames up to the removal, none after: the last one started before 1 s.
    EXPECT_LT(preview->Samples().back().start, 10'000'000);
}

// The program's audio path: "Audio PCM Out" into the Infinite Pin Tee, whose output the graph
// renders; a format the audio renderer cannot play would come back as a partial render.
TEST_F(DeviceFiltersTest, SoundRendersThroughTheTee) {
    Attach("");
    BuildGraph();
    ComPtr<IBaseFilter> tee =
        FindDeviceFilter(CLSID_LegacyAmFilterCategory, u"Infinite Pin Tee Filter");
    ASSERT_TRUE(tee);
    ASSERT_EQ(graph_->AddFilter(tee.Get(), u"Infinite Pin Tee Filter"), S_OK);
    ASSERT_EQ(graph_->ConnectDirect(PinOf(grabber_.Get(), kAudioPcmOutName).Get(),
                                    PinOf(tee.Get(), u"Input").Get(), nullptr),
              S_OK);
    ComPtr<IPin> teeOut = FirstFreePin(tee.Get(), PINDIR_OUTPUT);
    ASSERT_TRUE(teeOut);
    EXPECT_EQ(graph_->Render(teeOut.Get()), S_OK);
    ASSERT_EQ(control_->Run(), S_OK);
    for (int n = 1; n <= 5; ++n) StepTo(milliseconds(40 * n));
    EXPECT_EQ(control_->Stop(), S_OK);
}

TEST(RealTimeDeviceTest, PacesFramesOnItsOwnClock) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    RegisterMediaRuntime();
    {
        SimulatedDevice device(ScenarioOf(""));
        ComPtr<IBaseFilter> grabber = FindDeviceFilter(kGrabberCategory, kGrabberName);
        ASSERT_TRUE(grabber);
        ComPtr<IGraphBuilder> graph;
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, &graph), S_OK);
        ComPtr<IMediaControl> control;
        ASSERT_EQ(graph.As(&control), S_OK);
        ASSERT_EQ(graph->AddFilter(grabber.Get(), kGrabberName), S_OK);
        ComPtr<RecordingSink> audio = RecordingSink::Create(MEDIATYPE_Audio);
        ASSERT_EQ(graph->AddFilter(audio.Get(), u"sink"), S_OK);
        ASSERT_EQ(graph->ConnectDirect(PinOf(grabber.Get(), kAudioPcmOutName).Get(),
                                       PinOf(audio.Get(), u"In").Get(), nullptr),
                  S_OK);
        ASSERT_EQ(control->Run(), S_OK);
        // Real time cannot be stepped: wait (bounded) for the device's own thread.
        EXPECT_TRUE(audio->WaitForSamples(3));
        ASSERT_EQ(control->Stop(), S_OK);
        const std::vector<ReceivedSample> s = audio->Samples();
        ASSERT_GE(s.size(), 3u);
        // Consecutive frame periods, 40 ms apart on the device clock.
        for (std::size_t i = 1; i < s.size(); ++i)
            EXPECT_EQ(s[i].start - s[i - 1].start, 400'000) << i;
    }
    CoUninitialize();
}

}  // namespace
}  // namespace devices
