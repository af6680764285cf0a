// The V4L2 back-end against a scripted four-input device, stepped frame by frame: opening,
// the property set driving input switching and the search, frame routing, the video standard,
// formats, bad answers from the device and its disappearance.
#include "platform/devices/v4l2/v4l2_grabber.h"

#include <gtest/gtest.h>
#include <linux/videodev2.h>

#include <condition_variable>
#include <cstdio>
#include <mutex>

#include "platform/devices/command_block.h"
#include "platform/devices/property_handler.h"
#include "tests/platform/devices/v4l2/scripted_sound_source.h"
#include "tests/platform/devices/v4l2/scripted_v4l2_node.h"

namespace devices {
namespace {

using devices_test::MarkerOf;
using devices_test::ScriptedV4l2Node;
using Call = ScriptedV4l2Node::Call;

constexpr std::u16string_view kPath = u"\\\\?\\USB#VID_1B71&PID_3002#0001#{65e8773d}\\global";

// What reached the frame listener.
struct Seen {
    int input;
    bool signal;
    bool recorded;
    int luma;  // of the picture's first pixel; -1 without a picture
    VideoFormat size;
    bool soundPeriod;
    std::size_t soundSamples;  // of the device's own sound; 0 without
    int soundValue;            // its first sample
};

class Recorder final : public FrameListener, public DeviceChangeListener {
  public:
    void OnFrameTick(const FrameTick& tick) override {
        std::lock_guard lock(mutex_);
        Seen seen{tick.input, tick.signal, tick.recorded, -1, {}, tick.soundPeriod, 0, 0};
        if (tick.sound) {
            seen.soundSamples = tick.sound->samples.size();
            seen.soundValue = tick.sound->samples.empty() ? 0 : tick.sound->samples[0];
        }
        if (tick.picture) {
            seen.luma = tick.picture->bytes.size() > 1 ? tick.picture->bytes[1] : -1;
            seen.size = tick.picture->format;
        }
        EXPECT_EQ(tick.silent, !tick.sound);
        frames_.push_back(seen);
    }
    void OnDeviceChange(UINT event, const DeviceBroadcast& record) override {
        std::lock_guard lock(mutex_);
        events_.push_back(event);
        path_ = std::u16string(record.Record()->dbcc_name);
        EXPECT_EQ(record.Record()->dbcc_classguid, KSCATEGORY_CAPTURE);
        changed_.notify_all();
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        frames_.clear();
        events_.clear();
    }
    std::vector<Seen> Take() {
        std::lock_guard lock(mutex_);
        return std::exchange(frames_, {});
    }
    std::vector<UINT> Events() {
        std::lock_guard lock(mutex_);
        return events_;
    }
    std::u16string Path() {
        std::lock_guard lock(mutex_);
        return path_;
    }
    // Waits for a device change (no time limit: the test hangs, and fails, if none comes).
    void WaitForEvent() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !events_.empty(); });
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Seen> frames_;
    std::vector<UINT> events_;
    std::u16string path_;
};

// Only the frames that carry a picture, as input numbers.
std::vector<int> InputsOf(const std::vector<Seen>& seen) {
    std::vector<int> inputs;
    for (const Seen& s : seen)
        if (s.luma >= 0) inputs.push_back(s.input);
    return inputs;
}

class V4l2GrabberTest : public testing::Test {
  protected:
    // One node with four inputs (or `perInput` nodes, one per input).
    void Make(int perInput = 0, bool shortChecks = true,
              std::unique_ptr<SoundSource> sound = nullptr) {
        TearDown();
        grabber_.reset();
        nodes_.clear();
        recorder_.Clear();
        std::vector<std::unique_ptr<V4l2Node>> nodes;
        if (perInput == 0) {
            auto node = std::make_unique<ScriptedV4l2Node>();
            nodes_.push_back(node.get());
            nodes.push_back(std::move(node));
        } else {
            for (int i = 0; i < perInput; ++i) {
                auto node = std::make_unique<ScriptedV4l2Node>(1, i + 1);
                nodes_.push_back(node.get());
                nodes.push_back(std::move(node));
            }
        }
        V4l2GrabberConfig config;
        config.devicePath = std::u16string(kPath);
        config.shortChecks = shortChecks;
        grabber_ =
            std::make_unique<V4l2Grabber>(std::move(nodes), config, clock_, std::move(sound));
        grabber_->AddFrameListener(&recorder_);
        grabber_->AddDeviceChangeListener(&recorder_);
    }
    void TearDown() override {
        if (!grabber_) return;
        grabber_->RemoveFrameListener(&recorder_);
        grabber_->RemoveDeviceChangeListener(&recorder_);
    }
    ScriptedV4l2Node& Node(int i = 0) { return *nodes_[static_cast<std::size_t>(i)]; }
    void Pump(int frames, std::size_t node = 0) {
        for (int i = 0; i < frames; ++i) ASSERT_TRUE(grabber_->PumpFrame(node)) << i;
    }
    HRESULT Send(std::uint8_t code, std::uint8_t parameter = 0,
                 std::initializer_list<std::uint8_t> data = {}) {
        CommandBlock block = MakeCommandBlock(code, parameter, data);
        return grabber_->SetProperty(kGrabberPropertySet, kCommandProperty, block.data(),
                                     kCommandBlockBytes, block.data(), kCommandBlockBytes);
    }
    std::uint8_t SignalMask() {
        CommandBlock block = MakeCommandBlock(kCmdGetSignalMask);
        DWORD returned = 0;
        EXPECT_EQ(
            grabber_->GetProperty(kGrabberPropertySet, kCommandProperty, block.data(),
                                  kCommandBlockBytes, block.data(), kCommandBlockBytes, &returned),
            S_OK);
        std::uint8_t mask = 0;
        for (int i = 0; i < 4; ++i)
            if (block[kOffsetData + static_cast<std::size_t>(i)]) mask |= InputBit(i + 1);
        return mask;
    }
    int SearchState() {
        std::uint8_t state = 0xFF;
        DWORD returned = 0;
        grabber_->GetProperty(kGrabberPropertySet, kSearchStateProperty, &state, 1, &state, 1,
                              &returned);
        return state;
    }

    std::shared_ptr<ManualDeviceClock> clock_ = std::make_shared<ManualDeviceClock>();
    std::vector<ScriptedV4l2Node*> nodes_;  // owned by the grabber
    Recorder recorder_;
    std::unique_ptr<V4l2Grabber> grabber_;
};

TEST_F(V4l2GrabberTest, OpenAsksForPalUyvyOnInputOneAndStreams) {
    Make();
    ASSERT_EQ(grabber_->Open(), 0);
    EXPECT_EQ(Node().StandardsSet(), (std::vector<std::uint64_t>{V4L2_STD_PAL_D}));
    ASSERT_EQ(Node().FormatsSet().size(), 1u);
    EXPECT_EQ(Node().FormatsSet()[0].pixelFormat, V4L2_PIX_FMT_UYVY);
    EXPECT_EQ(Node().FormatsSet()[0].width, 720u);
    EXPECT_EQ(Node().FormatsSet()[0].height, 576u);
    EXPECT_EQ(Node().Switches(), (std::vector<int>{0}));
    EXPECT_TRUE(Node().Streaming());
    const GrabberStatus status = grabber_->Status();
    EXPECT_TRUE(status.attached);
    EXPECT_TRUE(status.cycling);
    EXPECT_EQ(status.input, 1);

    // A node that is no capture device, or refuses to stream, does not open.
    Make();
    Node().Fail(Call::Start, EBUSY);
    EXPECT_EQ(grabber_->Open(), EBUSY);
    EXPECT_FALSE(grabber_->Status().attached);
    EXPECT_EQ(Send(kCmdStartSearch), kE_DeviceNotConnected);
}

TEST_F(V4l2GrabberTest, FramesGoOutAsTheFramesOfTheInputTheDecoderIsOnAfterItSettles) {
    Make();
    ASSERT_EQ(grabber_->Open(), 0);
    ASSERT_EQ(Send(kCmdSetRecordChannel, 2), S_OK);
    Pump(4 * 25);
    const std::vector<Seen> seen = recorder_.Take();
    ASSERT_EQ(seen.size(), 100u);  // one tick per frame: the sound's period
    std::vector<int> expected;
    for (int input = 1; input <= 4; ++input) expected.insert(expected.end(), 19, input);
    EXPECT_EQ(InputsOf(seen), expected);
    for (const Seen& s : seen) {
        if (s.luma < 0) continue;
        EXPECT_EQ(s.luma, MarkerOf(s.input));
        EXPECT_TRUE(s.signal);
        EXPECT_EQ(s.recorded, s.input == 2);
        EXPECT_EQ(s.size, (VideoFormat{720, 576, 25}));
    }
    EXPECT_EQ(Node().Switches(), (std::vector<int>{0, 1, 2, 3, 0}));
    const V4l2CaptureCounts counts = grabber_->Counts();
    EXPECT_EQ(counts.settleDrops, 4u * kDefaultSettleFrames);
    EXPECT_EQ(counts.delivered, (std::array<std::uint64_t, 4>{19, 19, 19, 19}));

    // Fixed mode through command 5: only input 3 from the switch on.
    ASSERT_EQ(Send(kCmdSelectDisplayChannel, 3), S_OK);
    Pump(60);
    EXPECT_EQ(InputsOf(recorder_.Take()), std::vector<int>(60 - 1 - kDefaultSettleFrames, 3));
    EXPECT_EQ(grabber_->Status().input, 3);
    EXPECT_FALSE(grabber_->Status().cycling);
}

TEST_F(V4l2GrabberTest, TheSearchReadsEveryInputsStatusAndTheDetectedStandard) {
    Make();
    ASSERT_EQ(grabber_->Open(), 0);
    EXPECT_EQ(SearchState(), 0);
    Node().SetSignal(1, false);
    Node().SetStatusFlags(2, V4L2_IN_ST_NO_H_LOCK);  // a camera the decoder cannot lock on
    Node().SetStatusFlags(4, V4L2_IN_ST_NO_POWER);
    ASSERT_EQ(Send(kCmdStartSearch), S_OK);
    EXPECT_EQ(SearchState(), 1);
    Pump(4 * kDefaultSettleFrames);
    EXPECT_EQ(SearchState(), 2);
    EXPECT_EQ(SignalMask(), InputBit(3));
    EXPECT_EQ(Node().Count(Call::QueryStd), 4 - 3);  // only the input whose status is clean
    Pump(kDefaultSettleFrames);
    EXPECT_EQ(SearchState(), 3);
    EXPECT_EQ(Node().CurrentIndex(), 2);
    EXPECT_TRUE(recorder_.Take().size() > 0);

    // A clean status but no standard detected: no signal either. Nothing to lock on: the
    // search ends on the first valid input.
    Make();
    ASSERT_EQ(grabber_->Open(), 0);
    Node().SetDetectedStandard(0);
    ASSERT_EQ(Send(kCmdStartSearch), S_OK);
    Pump(5 * kDefaultSettleFrames);
    EXPECT_EQ(SearchState(), 3);
    EXPECT_EQ(SignalMask(), 0);
    EXPECT_EQ(Node().CurrentIndex(), 0);

    // The signal mask is live outside the search: a camera unplugged while it is shown.
    Make();
    ASSERT_EQ(grabber_->Open(), 0);
    Pump(kDefaultSettleFrames + 1);
    EXPECT_EQ(SignalMask(), InputBit(1));
    Node().SetSignal(1, false);
    Pump(1);
    EXPECT_EQ(SignalMask(), 0);
}

TEST_F(V4l2GrabberTest, TheTvFormatBecomesTheStandardAndThePictureSizeOfTheNextFrames) {
    Make();
    ASSERT_EQ(grabber_->Open(), 0);
    EXPECT_EQ(grabber_->PutVideoStandard(AnalogVideo_SECAM_B), E_INVALIDARG);
    EXPECT_EQ(grabber_->PutVideoStandard(AnalogVideo_NTSC_M | AnalogVideo_PAL_D), E_INVALIDARG);
    ASSERT_EQ(grabber_->PutVideoStandard(AnalogVideo_NTSC_M), S_OK);
    LONG standard = 0;
    ASSERT_EQ(grabber_->GetVideoStandard(&standard), S_OK);
    EXPECT_EQ(standard, AnalogVideo_NTSC_M);
    EXPECT_EQ(grabber_->Status().format, (VideoFormat{720, 480, 30}));
    Pump(30);
    EXPECT_EQ(Node().StandardsSet().back(), V4L2_STD_NTSC_M);
    EXPECT_EQ(Node().FormatsSet().back().height, 480u);
    EXPECT_TRUE(Node().Streaming());
    const std::vector<Seen> seen = recorder_.Take();
    // The decoder settles again after the change; a turn is 30 frames now.
    EXPECT_EQ(InputsOf(seen), std::vector<int>(30 - kDefaultSettleFrames, 1));
    EXPECT_EQ(seen.back().size, (VideoFormat{720, 480, 30}));
}

TEST_F(V4l2GrabberTest, OtherFormatsAndSizesAreConvertedToUyvyOfTheChannelSize) {
    for (const std::uint32_t fourcc : {V4L2_PIX_FMT_YUYV, V4L2_PIX_FMT_RGB24}) {
        Make();
        Node().ForceFormat(fourcc, 640, 480);
        ASSERT_EQ(grabber_->Open(), 0);
        ASSERT_EQ(Send(kCmdSelectDisplayChannel, 1), S_OK);
        Pump(kDefaultSettleFrames + 2);
        const std::vector<Seen> seen = recorder_.Take();
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.back().size, (VideoFormat{720, 576, 25}));
        EXPECT_NEAR(seen.back().luma, MarkerOf(1), 2) << fourcc;
    }
}

TEST_F(V4l2GrabberTest, BadAnswersFromTheDeviceAreSurvived) {
    Make();
    ASSERT_EQ(grabber_->Open(), 0);
    // Input 2 cannot be selected: cycling goes on with input 3.
    Node().Fail(Call::SetInput, EINVAL, -1);
    Pump(25);
    Node().Fail(Call::SetInput, 0, 0);
    Pump(1);
    EXPECT_EQ(Node().Switches(), (std::vector<int>{0, 2}));

    // A status that cannot be read counts as no signal: the input gets a short check.
    Node().Fail(Call::EnumInput, EIO, -1);
    recorder_.Take();
    Pump(kDefaultSettleFrames);
    EXPECT_EQ(SignalMask() & InputBit(3), 0);
    EXPECT_EQ(Node().Switches().back(), 3);
    Node().Fail(Call::EnumInput, 0, 0);

    // A frame shorter than its format is dropped, never read past its end.
    Send(kCmdSelectDisplayChannel, 4);
    Pump(kDefaultSettleFrames + 1);
    recorder_.Take();
    Node().SetFrameBytes(1000);
    Pump(3);
    EXPECT_TRUE(InputsOf(recorder_.Take()).empty());
    EXPECT_EQ(grabber_->Counts().shortFrames, 3u);
    Node().SetFrameBytes(0);
    Pump(1);
    EXPECT_EQ(InputsOf(recorder_.Take()), (std::vector<int>{4}));

    // Frame waits that keep failing: taken as a removal after kFailuresMeaningRemoval.
    Node().Fail(Call::Frame, EIO, -1);
    Pump(kFailuresMeaningRemoval - 1);
    EXPECT_TRUE(recorder_.Events().empty());
    EXPECT_FALSE(grabber_->PumpFrame(0));
    EXPECT_EQ(recorder_.Events(), (std::vector<UINT>{DBT_DEVICEREMOVECOMPLETE}));
}

TEST_F(V4l2GrabberTest, ADeviceThatDisappearsMidStreamIsARemoval) {
    Make();
    ASSERT_EQ(grabber_->Open(), 0);
    Pump(10);
    recorder_.Take();
    Node().Remove();
    EXPECT_FALSE(grabber_->PumpFrame(0));
    EXPECT_EQ(recorder_.Events(), (std::vector<UINT>{DBT_DEVICEREMOVECOMPLETE}));
    EXPECT_EQ(recorder_.Path(), std::u16string(kPath));
    EXPECT_FALSE(grabber_->Status().attached);
    EXPECT_EQ(Send(kCmdStartCycling), kE_DeviceNotConnected);
    LONG standard = 0;
    EXPECT_EQ(grabber_->GetVideoStandard(&standard), kE_DeviceNotConnected);
    EXPECT_FALSE(grabber_->PumpFrame(0));
    EXPECT_TRUE(recorder_.Take().empty());
    EXPECT_EQ(recorder_.Events().size(), 1u);

    // Gone while a status is read, or while switching: the same.
    for (const Call call : {Call::EnumInput, Call::SetInput}) {
        Make();
        ASSERT_EQ(grabber_->Open(), 0);
        Node().Fail(call, ENODEV, -1);
        bool pumping = true;
        for (int i = 0; i < 30 && pumping; ++i) pumping = grabber_->PumpFrame(0);
        EXPECT_FALSE(pumping);
        EXPECT_FALSE(grabber_->Status().attached);
    }
}

TEST_F(V4l2GrabberTest, TheCaptureThreadEndsOnRemovalWithoutHanging) {
    Make();
    Node().SetGated(true);
    ASSERT_EQ(grabber_->Open(), 0);
    grabber_->Start();
    Node().Release(3);
    Node().Remove();
    recorder_.WaitForEvent();
    grabber_->Stop();
    EXPECT_EQ(recorder_.Events(), (std::vector<UINT>{DBT_DEVICEREMOVECOMPLETE}));

    // Stopping a capture thread that waits for a frame.
    Make();
    Node().SetGated(true);
    ASSERT_EQ(grabber_->Open(), 0);
    grabber_->Start();
    grabber_->Stop();
    EXPECT_TRUE(recorder_.Events().empty());
}

TEST_F(V4l2GrabberTest, OneNodePerInputStreamsEveryInputAtOnce) {
    Make(4);
    ASSERT_EQ(grabber_->Open(), 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(Node(i).Switches().empty());  // nothing to switch
        EXPECT_TRUE(Node(i).Streaming());
    }
    Node(2).SetSignal(1, false);
    ASSERT_EQ(Send(kCmdSetRecordChannel, 4), S_OK);
    for (int frame = 0; frame < 20; ++frame)
        for (std::size_t n = 0; n < 4; ++n) Pump(1, n);
    const std::vector<Seen> seen = recorder_.Take();
    int sound = 0;
    std::array<int, 4> perInput{};
    for (const Seen& s : seen) {
        sound += s.soundPeriod ? 1 : 0;
        if (s.luma < 0) continue;
        EXPECT_EQ(s.luma, MarkerOf(s.input));
        EXPECT_EQ(s.recorded, s.input == 4);
        EXPECT_EQ(s.signal, s.input != 3);
        ++perInput[static_cast<std::size_t>(s.input - 1)];
    }
    EXPECT_EQ(sound, 20);  // one sound period per frame period
    EXPECT_EQ(perInput, (std::array<int, 4>{14, 14, 14, 14}));
    EXPECT_EQ(SignalMask(), 0x0B);
    EXPECT_EQ(grabber_->Counts().delivered, (std::array<std::uint64_t, 4>{14, 14, 0, 14}));

    // One node gone: the device is removed.
    Node(1).Remove();
    EXPECT_FALSE(grabber_->PumpFrame(1));
    EXPECT_FALSE(grabber_->PumpFrame(0));
    EXPECT_EQ(recorder_.Events(), (std::vector<UINT>{DBT_DEVICEREMOVECOMPLETE}));
}

TEST_F(V4l2GrabberTest, TheSoundCardIsReadOnceAFramePeriodAndWithoutOneThePeriodIsSilent) {
    auto source = std::make_unique<devices_test::ScriptedSoundSource>();
    devices_test::ScriptedSoundSource* sound = source.get();
    Make(0, true, std::move(source));
    ASSERT_EQ(grabber_->Open(), 0);
    Pump(3);
    std::vector<Seen> seen = recorder_.Take();
    ASSERT_EQ(seen.size(), 3u);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].soundSamples, 2u * 48000 / 25);  // one period, stereo
        EXPECT_EQ(seen[i].soundValue, static_cast<int>(i) + 1);
    }
    ASSERT_EQ(grabber_->PutVideoStandard(AnalogVideo_NTSC_M), S_OK);
    Pump(1);
    EXPECT_EQ(recorder_.Take().at(0).soundSamples, 2u * 48000 / 30);
    // A failing read: that period is silence, and counted.
    sound->Fail(EIO);
    Pump(2);
    for (const Seen& s : recorder_.Take()) EXPECT_EQ(s.soundSamples, 0u);
    EXPECT_EQ(grabber_->Counts().soundFailures, 2u);

    // One node per input: only the first node's frames carry the sound.
    Make(2, true, std::make_unique<devices_test::ScriptedSoundSource>());
    ASSERT_EQ(grabber_->Open(), 0);
    Pump(1, 0);
    Pump(1, 1);
    seen = recorder_.Take();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_GT(seen[0].soundSamples, 0u);
    EXPECT_EQ(seen[1].soundSamples, 0u);
    EXPECT_FALSE(seen[1].soundPeriod);
}

// The share of all frames that live cameras get while cycling with one camera of four dead,
// with and without the short check. Reported as test properties.
TEST_F(V4l2GrabberTest, LiveCamerasGetTheTimeOfADeadOne) {
    double share[2] = {};
    for (const bool shortChecks : {false, true}) {
        Make(0, shortChecks);
        ASSERT_EQ(grabber_->Open(), 0);
        Node().SetSignal(3, false);
        constexpr int kRounds = 20;
        Pump(kRounds * 4 * 25);
        const V4l2CaptureCounts counts = grabber_->Counts();
        const std::uint64_t live = counts.delivered[0] + counts.delivered[1] + counts.delivered[3];
        EXPECT_EQ(counts.delivered[2], 0u);
        share[shortChecks ? 1 : 0] = static_cast<double>(live) / static_cast<double>(counts.frames);
        recorder_.Take();
    }
    RecordProperty("live_share_without_short_check", std::to_string(share[0]));
    RecordProperty("live_share_with_short_check", std::to_string(share[1]));
    std::printf(
        "live cameras' share of frames, one of four dead: %.3f without, %.3f with the "
        "short check\n",
        share[0], share[1]);
    // Turns of 25 frames with 6 settle frames: 3 x 19 of 100 without, 3 x 19 of 81 with.
    EXPECT_NEAR(share[0], 57.0 / 100.0, 0.01);
    EXPECT_NEAR(share[1], 57.0 / 81.0, 0.01);
}

}  // namespace
}  // namespace devices
