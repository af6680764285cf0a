// The V4L2 back-end's model of a shared decoder, frame by frame: settling, the search pass,
// cycling order and timing, fast turning, fixed mode, the short check of dead inputs and
// refused switches.
#include "platform/devices/v4l2/input_schedule.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace devices {
namespace {

constexpr int kSettle = 6;

// Drives a schedule as the grabber does, with the cameras' signals given per input; records
// each frame and each switch.
struct Driver {
    explicit Driver(bool shortChecks = true) : schedule(kSettle, shortChecks) {}

    InputSchedule::Frame Step() {
        const InputSchedule::Frame frame = schedule.OnFrame();
        if (frame.check) schedule.SetSignal(frame.input, signal[frame.input - 1]);
        if (frame.deliver) ++delivered[frame.input - 1];
        if (const int next = schedule.AfterFrame()) {
            if (refuse[next - 1]) {
                schedule.SwitchFailed(next);
            } else {
                schedule.Switched(next);
                switches.push_back(next);
                switchFrames.push_back(frames);
            }
        }
        ++frames;
        return frame;
    }
    void Run(int n) {
        for (int i = 0; i < n; ++i) Step();
    }

    InputSchedule schedule;
    std::array<bool, 4> signal{true, true, true, true};
    std::array<bool, 4> refuse{};
    std::array<int, 4> delivered{};
    std::vector<int> switches;
    std::vector<int> switchFrames;  // frame index after which each switch happened
    int frames = 0;
};

TEST(InputScheduleTest, CyclingVisitsTheValidInputsInOrderForTheTurnSpanAndDropsTheSettleFrames) {
    Driver d;
    d.schedule.SetValidInputs(0x0B);  // 1, 2 and 4
    d.schedule.SetCycleTiming(2, false);
    // The first turn starts at power-on on input 1; each turn is 2 s at 25 frames per second.
    d.Run(50 * 6);
    EXPECT_EQ(d.switches, (std::vector<int>{2, 4, 1, 2, 4, 1}));
    for (std::size_t i = 0; i < d.switchFrames.size(); ++i)
        EXPECT_EQ(d.switchFrames[i], 49 + 50 * static_cast<int>(i));
    // Every turn drops its first kSettle frames.
    EXPECT_EQ(d.delivered[0], 2 * (50 - kSettle));
    EXPECT_EQ(d.delivered[2], 0);

    // Right after a switch: the settle frames are dropped, the last of them is checked.
    Driver s;
    s.schedule.SelectInput(3);
    s.Step();  // switch to 3 after this frame
    for (int i = 1; i <= kSettle; ++i) {
        const InputSchedule::Frame f = s.Step();
        EXPECT_EQ(f.input, 3);
        EXPECT_FALSE(f.deliver) << i;
        EXPECT_EQ(f.check, i == kSettle) << i;
    }
    EXPECT_TRUE(s.Step().deliver);
}

TEST(InputScheduleTest, NtscRateAndFastTurningSetTheTurnLength) {
    Driver d;
    d.schedule.SetFramesPerSecond(30);
    d.Run(30 * 4);
    EXPECT_EQ(d.switchFrames, (std::vector<int>{29, 59, 89, 119}));

    Driver fast;
    fast.schedule.SetCycleTiming(5, true);
    fast.Run(4 * (kSettle + 1));
    // One settle period and one delivered frame per input.
    EXPECT_EQ(fast.switches, (std::vector<int>{2, 3, 4, 1}));
    EXPECT_EQ(fast.delivered, (std::array<int, 4>{1, 1, 1, 1}));
}

TEST(InputScheduleTest, ADeadInputGetsOnlyAShortCheckAndRejoinsTheRoundWhenItsSignalReturns) {
    Driver d;
    d.signal[2] = false;
    // A first round to learn the signals (power-on knows none), then three rounds.
    d.Run(3 * 25 + kSettle);
    const int start = d.frames;
    d.delivered = {};
    d.Run(3 * (3 * 25 + kSettle));
    EXPECT_EQ(d.delivered, (std::array<int, 4>{57, 57, 0, 57}));
    // Input 3 is left right after its check.
    for (std::size_t i = 1; i < d.switches.size(); ++i)
        if (d.switches[i - 1] == 3 && d.switchFrames[i - 1] >= start) {
            EXPECT_EQ(d.switchFrames[i] - d.switchFrames[i - 1], kSettle);
        }

    // The camera comes back: at its next check it gets a whole turn.
    d.signal[2] = true;
    d.switches.clear();
    d.switchFrames.clear();
    d.Run(4 * 25 + kSettle);
    ASSERT_GE(d.switches.size(), 3u);
    for (std::size_t i = 0; i + 1 < d.switches.size(); ++i)
        if (d.switches[i] == 3) {
            EXPECT_EQ(d.switchFrames[i + 1] - d.switchFrames[i], 25);
        }

    // An input that loses its signal mid-turn is left at its next frame.
    Driver loss;
    loss.Run(4 * 25);  // back on input 1, all live
    ASSERT_EQ(loss.schedule.PhysicalInput(), 1);
    loss.Run(10);
    loss.signal[0] = false;
    loss.Run(1);
    EXPECT_EQ(loss.schedule.PhysicalInput(), 2);
}

TEST(InputScheduleTest, WithoutShortChecksADeadInputTakesItsWholeTurn) {
    Driver d(false);
    d.signal[2] = false;
    d.Run(4 * 25 * 3);
    for (std::size_t i = 1; i < d.switchFrames.size(); ++i)
        EXPECT_EQ(d.switchFrames[i] - d.switchFrames[i - 1], 25);
}

TEST(InputScheduleTest, FixedModeStaysAndCyclingAgainKeepsTheCurrentInputForAWholeTurn) {
    Driver d;
    d.schedule.SelectInput(4);
    d.Run(200);
    EXPECT_EQ(d.switches, (std::vector<int>{4}));
    EXPECT_FALSE(d.schedule.IsCycling());
    // Fixed mode holds an input that is not valid, and one without a signal.
    d.schedule.SetValidInputs(0x01);
    d.signal[3] = false;
    d.Run(100);
    EXPECT_EQ(d.schedule.PhysicalInput(), 4);

    d.schedule.SetValidInputs(0x0F);
    d.signal[3] = true;
    d.Run(kSettle);  // the signal is read again
    d.schedule.StartCycling();
    d.switchFrames.clear();
    const int started = d.frames;
    d.Run(30);
    ASSERT_FALSE(d.switchFrames.empty());
    EXPECT_EQ(d.switchFrames[0] - started, 25 - kSettle - 1);
    EXPECT_EQ(d.switches.back(), 1);
}

TEST(InputScheduleTest, NoValidInputRestsTheDecoderUntilOneIsValidAgain) {
    Driver d;
    d.schedule.SetValidInputs(0);
    for (int i = 0; i < 60; ++i) EXPECT_EQ(d.Step().input, 0);
    EXPECT_TRUE(d.switches.empty());
    d.schedule.SetValidInputs(0x04);
    d.Run(1);
    EXPECT_EQ(d.switches, (std::vector<int>{3}));
}

TEST(InputScheduleTest, TheSearchVisitsEveryInputThenLocksOnTheFirstValidLiveOne) {
    Driver d;
    EXPECT_EQ(d.schedule.GetSearchState(), SearchState::NotRun);
    d.signal = {false, false, true, true};
    d.schedule.SetValidInputs(0x0E);
    d.schedule.SelectInput(2);
    d.Run(3);
    d.switches.clear();
    d.schedule.StartSearch();
    EXPECT_EQ(d.schedule.GetSearchState(), SearchState::Scanning);
    int delivered = 0;
    while (d.schedule.GetSearchState() == SearchState::Scanning && d.frames < 1000)
        delivered += d.Step().deliver ? 1 : 0;
    EXPECT_EQ(delivered, 0);  // the pass shows nothing
    EXPECT_EQ(d.switches, (std::vector<int>{1, 2, 3, 4, 3}));
    EXPECT_EQ(d.schedule.GetSearchState(), SearchState::Locking);
    EXPECT_EQ(d.schedule.SignalMask(), 0x0C);
    d.Run(kSettle);
    EXPECT_EQ(d.schedule.GetSearchState(), SearchState::Finished);
    EXPECT_TRUE(d.schedule.IsCycling());

    // Stopping a search ends it at once and keeps the mode.
    Driver stop;
    stop.schedule.SelectInput(1);
    stop.schedule.StartSearch();
    stop.Run(kSettle + 2);
    stop.schedule.StopSearch();
    EXPECT_EQ(stop.schedule.GetSearchState(), SearchState::Finished);
    EXPECT_FALSE(stop.schedule.IsCycling());
    stop.Run(1);
    EXPECT_EQ(stop.switches.back(), 1);
}

TEST(InputScheduleTest, ARefusedSwitchSkipsToTheNextInputAndTheSearchGoesOn) {
    Driver d;
    d.refuse[1] = true;
    d.Run(25 * 4);
    EXPECT_EQ(d.switches, (std::vector<int>{3, 4, 1}));

    Driver search;
    search.refuse[3] = true;
    search.schedule.StartSearch();
    search.Run(100);
    EXPECT_EQ(search.switches.front(), 2);  // already on 1: the pass starts there
    EXPECT_EQ(search.schedule.GetSearchState(), SearchState::Finished);
}

}  // namespace
}  // namespace devices
