#include "platform/devices/grabber_simulation.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace devices {
namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;
using std::chrono::seconds;

class Recorder final : public SimulationObserver {
  public:
    void OnFrameTick(const FrameTick& tick) override { ticks.push_back(tick); }
    void OnAttachedChanged(bool attached, nanoseconds time) override {
        changes.emplace_back(attached, time);
    }
    std::vector<int> Inputs() const {
        std::vector<int> inputs;
        for (const FrameTick& t : ticks) inputs.push_back(t.input);
        return inputs;
    }

    std::vector<FrameTick> ticks;
    std::vector<std::pair<bool, nanoseconds>> changes;
};

Scenario ScenarioOf(std::string_view text) {
    Scenario scenario;
    std::string error;
    EXPECT_TRUE(ParseScenario(text, &scenario, &error)) << error;
    return scenario;
}

class SimulationTest : public testing::Test {
  protected:
    explicit SimulationTest(std::string_view scenario = "") : device_(ScenarioOf(scenario)) {}

    void RunTo(nanoseconds t) { device_.AdvanceTo(t, recorder_); }
    // Runs exactly `n` more frame ticks.
    void RunFrames(int n) {
        for (int i = 0; i < n; ++i) RunTo(device_.NextFrameTime());
    }
    std::vector<int> NextInputs(int n) {
        recorder_.ticks.clear();
        RunFrames(n);
        return recorder_.Inputs();
    }

    GrabberSimulation device_;
    Recorder recorder_;
};

// --- Video standards -------------------------------------------------------------------------

TEST(VideoStandardTest, PictureOfEachStandard) {
    const VideoFormat pal{720, 576, 25};
    const VideoFormat ntsc{720, 480, 30};
    for (LONG s : {AnalogVideo_PAL_B, AnalogVideo_PAL_D, AnalogVideo_PAL_G, AnalogVideo_PAL_H,
                   AnalogVideo_PAL_I, AnalogVideo_PAL_N, AnalogVideo_PAL_N_COMBO})
        EXPECT_EQ(FormatOfStandard(s), pal) << s;
    for (LONG s : {AnalogVideo_NTSC_M, AnalogVideo_NTSC_M_J, AnalogVideo_NTSC_433,
                   AnalogVideo_PAL_M, AnalogVideo_PAL_60})
        EXPECT_EQ(FormatOfStandard(s), ntsc) << s;
    for (LONG s : {AnalogVideo_None, AnalogVideo_SECAM_B, AnalogVideo_SECAM_L1,
                   AnalogVideo_PAL_D | AnalogVideo_PAL_B, AnalogVideo_NTSC_M | AnalogVideo_PAL_D,
                   LONG{0x00200000}, LONG{-1}})
        EXPECT_EQ(FormatOfStandard(s), std::nullopt) << s;
}

TEST(VideoStandardTest, FrameTimesDoNotDrift) {
    const VideoFormat ntsc{720, 480, 30};
    EXPECT_EQ(ntsc.FrameTime(1), nanoseconds(33'333'333));
    EXPECT_EQ(ntsc.FrameTime(30), seconds(1));
    EXPECT_EQ(ntsc.FrameTime(30 * 3600), seconds(3600));
    EXPECT_EQ(ntsc.AverageTimePerFrame(), 333333);
    EXPECT_EQ((VideoFormat{720, 576, 25}).AverageTimePerFrame(), 400000);
    EXPECT_EQ((VideoFormat{720, 576, 25}).FrameBytes(), 720u * 576 * 2);
}

// --- Signal search ---------------------------------------------------------------------------

TEST_F(SimulationTest, SearchRunsThroughOneAndTwoToThree) {
    EXPECT_EQ(device_.GetSearchState(), SearchState::NotRun);
    RunTo(milliseconds(500));
    device_.StartSearch();
    EXPECT_EQ(device_.GetSearchState(), SearchState::Scanning);
    RunTo(milliseconds(1499));
    EXPECT_EQ(device_.GetSearchState(), SearchState::Scanning);
    RunTo(milliseconds(1500));
    EXPECT_EQ(device_.GetSearchState(), SearchState::Locking);
    RunTo(milliseconds(3499));
    EXPECT_EQ(device_.GetSearchState(), SearchState::Locking);
    RunTo(milliseconds(3500));
    EXPECT_EQ(device_.GetSearchState(), SearchState::Finished);
    RunTo(seconds(60));
    EXPECT_EQ(device_.GetSearchState(), SearchState::Finished);
}

TEST_F(SimulationTest, FinishedSearchReturnsTheDecoderToCycling) {
    device_.SelectInput(2);
    device_.StartSearch();
    RunTo(milliseconds(2999));
    EXPECT_FALSE(device_.IsCycling());
    RunTo(seconds(3));
    EXPECT_TRUE(device_.IsCycling());
}

TEST_F(SimulationTest, StoppedSearchEndsAtThreeAndLeavesTheMode) {
    device_.StopSearch();  // nothing to stop
    EXPECT_EQ(device_.GetSearchState(), SearchState::NotRun);
    device_.SelectInput(4);
    device_.StartSearch();
    RunTo(milliseconds(1200));
    device_.StopSearch();
    EXPECT_EQ(device_.GetSearchState(), SearchState::Finished);
    RunTo(seconds(10));
    EXPECT_FALSE(device_.IsCycling());
    EXPECT_EQ(device_.CurrentInput(), 4);
}

TEST_F(SimulationTest, NewSearchRestartsFromOne) {
    device_.StartSearch();
    RunTo(milliseconds(2500));
    device_.StartSearch();  // restart while in state 2
    EXPECT_EQ(device_.GetSearchState(), SearchState::Scanning);
    RunTo(milliseconds(5499));
    EXPECT_EQ(device_.GetSearchState(), SearchState::Locking);
    RunTo(milliseconds(5500));
    EXPECT_EQ(device_.GetSearchState(), SearchState::Finished);
    device_.StartSearch();
    EXPECT_EQ(device_.GetSearchState(), SearchState::Scanning);
}

// --- Cycling and fixed mode ------------------------------------------------------------------

std::vector<int> Repeat(std::initializer_list<std::pair<int, int>> runs) {
    std::vector<int> out;
    for (auto [input, count] : runs) out.insert(out.end(), count, input);
    return out;
}

TEST_F(SimulationTest, CyclesAllInputsOneSecondEachFromPowerOn) {
    EXPECT_TRUE(device_.IsCycling());
    EXPECT_EQ(NextInputs(125), Repeat({{1, 25}, {2, 25}, {3, 25}, {4, 25}, {1, 25}}));
    EXPECT_EQ(recorder_.ticks.back().frame, 124u);
    EXPECT_EQ(recorder_.ticks.back().time, milliseconds(124 * 40));
}

TEST_F(SimulationTest, FastTurningSwitchesEveryFrameOverValidInputs) {
    device_.SetCycleTiming(5, true);
    EXPECT_EQ(NextInputs(8), (std::vector<int>{1, 2, 3, 4, 1, 2, 3, 4}));
    device_.SetValidInputs(0b1010);
    EXPECT_EQ(NextInputs(5), (std::vector<int>{2, 4, 2, 4, 2}));
    device_.SetValidInputs(0b0100);
    EXPECT_EQ(NextInputs(3), (std::vector<int>{3, 3, 3}));
}

TEST_F(SimulationTest, SpanInSecondsOverValidInputs) {
    device_.SetValidInputs(0b0101);
    device_.SetCycleTiming(2, false);
    EXPECT_EQ(NextInputs(150), Repeat({{1, 50}, {3, 50}, {1, 50}}));
}

TEST_F(SimulationTest, ZeroSpanCountsAsOneSecond) {
    device_.SetCycleTiming(0, false);
    EXPECT_EQ(device_.TurnSpan(), 1);
    EXPECT_EQ(NextInputs(26), Repeat({{1, 25}, {2, 1}}));
}

TEST_F(SimulationTest, InvalidCurrentInputIsLeftAtTheNextFrame) {
    RunFrames(3);  // on input 1 for three frames
    device_.SetValidInputs(0b1100);
    EXPECT_EQ(NextInputs(27), Repeat({{3, 25}, {4, 2}}));
}

TEST_F(SimulationTest, ShorterTimingEndsALongTurnAtOnce) {
    device_.SetCycleTiming(3, false);
    RunFrames(40);
    device_.SetCycleTiming(1, false);  // 40 frames already exceed the new turn
    EXPECT_EQ(NextInputs(2), (std::vector<int>{2, 2}));
}

TEST_F(SimulationTest, NoValidInputRestsTheDecoder) {
    device_.SetValidInputs(0);
    const std::vector<int> inputs = NextInputs(30);
    EXPECT_EQ(inputs, std::vector<int>(30, 0));
    for (const FrameTick& t : recorder_.ticks) EXPECT_FALSE(t.HasPreviewFrame());
    device_.SetValidInputs(0b0010);
    EXPECT_EQ(NextInputs(1), std::vector<int>{2});
}

TEST_F(SimulationTest, FixedModeStaysOnOneInputValidOrNot) {
    device_.SetCycleTiming(1, true);
    device_.SetValidInputs(0b0001);
    device_.SelectInput(3);
    EXPECT_FALSE(device_.IsCycling());
    EXPECT_EQ(NextInputs(60), std::vector<int>(60, 3));
}

TEST_F(SimulationTest, CyclingResumesFromTheFixedInputForAWholeTurn) {
    device_.SelectInput(3);
    RunFrames(100);
    device_.StartCycling();
    EXPECT_TRUE(device_.IsCycling());
    EXPECT_EQ(NextInputs(26), Repeat({{3, 25}, {4, 1}}));
}

TEST_F(SimulationTest, StartCyclingWhileCyclingKeepsTheTurn) {
    RunFrames(20);
    device_.StartCycling();
    EXPECT_EQ(NextInputs(6), Repeat({{1, 5}, {2, 1}}));
}

// --- Signals, frames and the capture stream --------------------------------------------------

class TwoCamerasTest : public SimulationTest {
  protected:
    TwoCamerasTest() : SimulationTest("signal=1,3") {}
};

TEST_F(TwoCamerasTest, FramesOnlyForTheCurrentInputWithSignal) {
    device_.SetCycleTiming(1, true);
    RunFrames(8);
    for (const FrameTick& t : recorder_.ticks) {
        EXPECT_EQ(t.HasPreviewFrame(), t.input == 1 || t.input == 3) << t.frame;
        EXPECT_FALSE(t.HasCaptureFrame());
    }
    EXPECT_EQ(device_.SignalMask(), 0b0101);
}

TEST_F(TwoCamerasTest, CaptureStreamCarriesTheRecordedInputWhenTheDecoderIsOnIt) {
    device_.SetCycleTiming(1, true);
    device_.SetRecordInput(3);
    RunFrames(8);
    std::vector<std::uint64_t> captured;
    for (const FrameTick& t : recorder_.ticks)
        if (t.HasCaptureFrame()) captured.push_back(t.frame);
    EXPECT_EQ(captured, (std::vector<std::uint64_t>{2, 6}));

    device_.SelectInput(3);  // what the program does while recording
    recorder_.ticks.clear();
    RunFrames(5);
    for (const FrameTick& t : recorder_.ticks) EXPECT_TRUE(t.HasCaptureFrame());

    device_.EndRecordStream();
    EXPECT_EQ(device_.RecordInput(), 0);
    recorder_.ticks.clear();
    RunFrames(5);
    for (const FrameTick& t : recorder_.ticks) {
        EXPECT_TRUE(t.HasPreviewFrame());
        EXPECT_FALSE(t.HasCaptureFrame());
    }
}

TEST_F(TwoCamerasTest, RecordingAnInputWithoutSignalCapturesNothing) {
    device_.SetRecordInput(2);
    device_.SelectInput(2);
    RunFrames(10);
    for (const FrameTick& t : recorder_.ticks) {
        EXPECT_TRUE(t.recorded);
        EXPECT_FALSE(t.HasCaptureFrame());
    }
}

class UnplugTest : public SimulationTest {
  protected:
    UnplugTest() : SimulationTest("signal=1,2,4; 5s unplug 2; 12s plug 2; 12s unplug 1,4") {}
};

TEST_F(UnplugTest, SignalMaskFollowsTheScenario) {
    RunTo(milliseconds(4999));
    EXPECT_EQ(device_.SignalMask(), 0b1011);
    RunTo(seconds(5));
    EXPECT_EQ(device_.SignalMask(), 0b1001);
    RunTo(milliseconds(11999));
    EXPECT_EQ(device_.SignalMask(), 0b1001);
    RunTo(seconds(12));
    EXPECT_EQ(device_.SignalMask(), 0b0010);
}

TEST_F(UnplugTest, FramesStopAtTheUnplugInstantAndResumeWhenPluggedBack) {
    device_.SelectInput(2);
    RunTo(seconds(20));
    for (const FrameTick& t : recorder_.ticks) {
        const bool unplugged = t.time >= seconds(5) && t.time < seconds(12);
        EXPECT_EQ(t.HasPreviewFrame(), !unplugged) << t.time.count();
    }
    EXPECT_EQ(recorder_.ticks.size(), 501u);  // 0 s to 20 s inclusive, every 40 ms
}

// --- Removal and arrival ---------------------------------------------------------------------

class RemovalTest : public SimulationTest {
  protected:
    RemovalTest() : SimulationTest("20s remove; 21s remove; 25s arrive; 26s arrive") {}
};

TEST_F(RemovalTest, RemovalStopsFramesAndArrivalPowersOnAfresh) {
    device_.StartSearch();
    device_.SelectInput(2);
    device_.SetRecordInput(2);
    device_.SetValidInputs(0b0001);
    device_.SetCycleTiming(7, true);
    device_.SetRecordQuality(2);
    ASSERT_TRUE(device_.SetVideoStandard(AnalogVideo_NTSC_M));
    RunTo(milliseconds(19999));
    recorder_.ticks.clear();
    RunTo(milliseconds(24999));
    EXPECT_FALSE(device_.Attached());
    EXPECT_TRUE(recorder_.ticks.empty());
    RunTo(seconds(30));
    EXPECT_TRUE(device_.Attached());

    // One removal and one arrival: the second of each changes nothing.
    const std::vector<std::pair<bool, nanoseconds>> changes = {{false, seconds(20)},
                                                               {true, seconds(25)}};
    EXPECT_EQ(recorder_.changes, changes);

    ASSERT_FALSE(recorder_.ticks.empty());
    EXPECT_EQ(recorder_.ticks.front().frame, 0u);
    EXPECT_EQ(recorder_.ticks.front().time, seconds(25));
    EXPECT_EQ(recorder_.ticks.front().format, (VideoFormat{720, 576, 25}));
    EXPECT_EQ(device_.GetSearchState(), SearchState::NotRun);
    EXPECT_TRUE(device_.IsCycling());
    EXPECT_EQ(device_.RecordInput(), 0);
    EXPECT_EQ(device_.RecordQuality(), 0);
    EXPECT_EQ(device_.ValidInputs(), 0x0F);
    EXPECT_EQ(device_.TurnSpan(), 1);
    EXPECT_FALSE(device_.FastTurning());
    EXPECT_EQ(device_.VideoStandard(), AnalogVideo_PAL_D);
}

TEST(RemovalAtStartTest, AbsentDeviceHasNoFramesUntilItArrives) {
    GrabberSimulation device(ScenarioOf("absent; 2s arrive"));
    Recorder recorder;
    EXPECT_FALSE(device.Attached());
    device.AdvanceTo(milliseconds(1999), recorder);
    EXPECT_TRUE(recorder.ticks.empty());
    EXPECT_TRUE(recorder.changes.empty());
    device.AdvanceTo(seconds(2), recorder);
    ASSERT_EQ(recorder.changes.size(), 1u);
    EXPECT_TRUE(recorder.changes[0].first);
    ASSERT_EQ(recorder.ticks.size(), 1u);
    EXPECT_EQ(recorder.ticks[0].time, seconds(2));
}

// --- Video standard --------------------------------------------------------------------------

TEST_F(SimulationTest, VideoStandardChangesSizeAndRateFromTheNextFrame) {
    RunFrames(10);  // ticks at 0 .. 360 ms
    RunTo(milliseconds(380));
    ASSERT_TRUE(device_.SetVideoStandard(AnalogVideo_NTSC_M_J));
    EXPECT_EQ(device_.VideoStandard(), AnalogVideo_NTSC_M_J);
    EXPECT_EQ(device_.Format(), (VideoFormat{720, 480, 30}));
    recorder_.ticks.clear();
    RunFrames(3);
    ASSERT_EQ(recorder_.ticks.size(), 3u);
    EXPECT_EQ(recorder_.ticks[0].time, milliseconds(380) + nanoseconds(33'333'333));
    EXPECT_EQ(recorder_.ticks[1].time, milliseconds(380) + nanoseconds(66'666'666));
    EXPECT_EQ(recorder_.ticks[2].time, milliseconds(480));
    EXPECT_EQ(recorder_.ticks[0].frame, 10u);
    for (const FrameTick& t : recorder_.ticks) EXPECT_EQ(t.format.height, 480);
    // A turn is now 30 frames.
    EXPECT_EQ(NextInputs(30), Repeat({{1, 17}, {2, 13}}));

    ASSERT_TRUE(device_.SetVideoStandard(AnalogVideo_PAL_I));
    recorder_.ticks.clear();
    RunFrames(1);
    EXPECT_EQ(recorder_.ticks[0].format, (VideoFormat{720, 576, 25}));
}

TEST_F(SimulationTest, UnsupportedStandardChangesNothing) {
    EXPECT_FALSE(device_.SetVideoStandard(AnalogVideo_SECAM_D));
    EXPECT_FALSE(device_.SetVideoStandard(AnalogVideo_PAL_D | AnalogVideo_NTSC_M));
    EXPECT_EQ(device_.VideoStandard(), AnalogVideo_PAL_D);
    RunFrames(2);
    EXPECT_EQ(recorder_.ticks[1].time, milliseconds(40));
}

TEST(ScenarioOrderTest, EventComesBeforeTheFrameOfTheSameInstant) {
    GrabberSimulation device(ScenarioOf("1s unplug 1"));
    Recorder recorder;
    device.SelectInput(1);
    device.AdvanceTo(seconds(1), recorder);
    ASSERT_EQ(recorder.ticks.back().time, seconds(1));
    EXPECT_FALSE(recorder.ticks.back().signal);
    EXPECT_TRUE(recorder.ticks[recorder.ticks.size() - 2].signal);
}

}  // namespace
}  // namespace devices
