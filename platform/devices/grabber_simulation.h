// The simulated four-input grabber's hardware: scenario, signal search, input cycling and fixed
// selection, the recorded input and the frame clock, all on device time that the owner moves
// forward. Not thread-safe: SimulatedGrabber serialises access.
//
// Behaviour chosen for the device:
// - Signal search (command 1): state 1 for the first second, state 2 until 3 s, then state 3;
//   at state 3 the decoder goes back to cycling over the valid inputs. Before any search the
//   state reads 0. Stopping a running search (command 10) ends it early with state 3 (the
//   device keeps watching its inputs, so a stopped search does not leave signal-loss judgement
//   off); the mode is left as it is. A new search restarts from state 1.
// - Cycling (command 4) visits the valid inputs (command 9) in the order 1, 2, 3, 4, 1, ...; it
//   stays on each for the turn span (command 8: span seconds, at least 1) or, with fast turning,
//   for one frame. Starting to cycle keeps the current input for a whole turn if it is valid.
//   With no valid input the decoder rests and no input has frames. Starting while already
//   cycling changes nothing. Timing and valid inputs apply from the next frame.
// - Fixed mode (command 5) keeps the decoder on one input, valid or not.
// - Recording: command 2 picks the recorded input and turns the capture stream on; command 3
//   turns it off. The capture stream carries the recorded input's frames whenever the decoder is
//   on that input, exactly like its preview; while cycling it therefore has gaps (the program
//   fixes the decoder on the recorded input while it records). Quality (command 12) is kept and
//   reported; the uncompressed stream does not change with it.
// - Power-on (start and every arrival): search state 0, cycling from input 1 with a one-second
//   span, all four inputs valid, capture stream off, quality 0, PAL-D, frame count from 0, the
//   first frame at the moment of power-on. Camera signals follow the scenario whether the device
//   is attached or not; while it is removed there are no frames.
#pragma once

#include <chrono>
#include <cstdint>

#include "platform/devices/analog_video_standard.h"
#include "platform/devices/frame_tick.h"
#include "platform/devices/grabber_hardware.h"
#include "platform/devices/scenario.h"

namespace devices {

inline constexpr std::chrono::nanoseconds kSearchScanningTime = std::chrono::seconds(1);
inline constexpr std::chrono::nanoseconds kSearchTime = std::chrono::seconds(3);

// Receives what the device does on its own while it runs forward.
class SimulationObserver {
  public:
    // One frame period; `tick.input` is the input the decoder is on.
    virtual void OnFrameTick(const FrameTick& tick) = 0;
    // The device was attached (true) or removed (false) by the scenario at device time `time`.
    virtual void OnAttachedChanged(bool attached, std::chrono::nanoseconds time) = 0;

  protected:
    ~SimulationObserver() = default;
};

class GrabberSimulation final : public GrabberHardware {
  public:
    explicit GrabberSimulation(Scenario scenario);

    std::chrono::nanoseconds Now() const { return now_; }
    // Runs the device to `time`: scenario events, the end of a search and frame ticks, in time
    // order (at one instant in that order). A time before Now() changes nothing.
    void AdvanceTo(std::chrono::nanoseconds time, SimulationObserver& observer);
    // When the device next does something on its own; max() when nothing is due ever.
    std::chrono::nanoseconds NextEventTime() const;
    std::chrono::nanoseconds NextFrameTime() const;

    // State at Now().
    bool Attached() const { return attached_; }
    std::uint8_t SignalMask() const override { return signal_; }
    SearchState GetSearchState() const override;
    bool IsCycling() const override { return cycling_; }
    int CurrentInput() const { return input_; }       // while cycling: as of the last tick
    int RecordInput() const { return recordInput_; }  // 0: capture stream off
    int RecordQuality() const { return quality_; }
    std::uint8_t ValidInputs() const { return valid_; }
    int TurnSpan() const { return span_; }
    bool FastTurning() const { return fast_; }
    LONG VideoStandard() const { return standard_; }
    VideoFormat Format() const { return format_; }

    // Commands, effective at Now(). The caller checks inputs (1..4) and qualities (0..2).
    void StartSearch() override;
    void StopSearch() override;
    void StartCycling() override;
    void SelectInput(int input) override;
    void SetCycleTiming(int spanSeconds, bool fast) override;
    void SetValidInputs(std::uint8_t mask) override;
    void SetRecordInput(int input) override;
    void EndRecordStream() override;
    void SetRecordQuality(int quality) override;
    // False (and no change) for a value that is not one supported standard. A new picture size
    // or rate starts with the next frame, one new frame period from now.
    bool SetVideoStandard(LONG standard);

  private:
    void PowerOn();
    void Apply(const ScenarioEvent& event, SimulationObserver& observer);
    void FinishSearch();
    void Tick(SimulationObserver& observer);
    int NextValidInput(int from) const;
    std::uint64_t TurnFrames() const;

    // All fields: the owner's thread (SimulatedGrabber calls in under its lock).
    // The scenario and the time it has reached.
    Scenario scenario_;
    std::size_t nextEvent_ = 0;  // index into scenario_.events
    std::chrono::nanoseconds now_{0};
    std::uint8_t signal_;
    bool attached_;

    // Hardware state, reset at power-on.
    bool searching_ = false;
    std::chrono::nanoseconds searchStart_{0};
    SearchState searchResult_ = SearchState::NotRun;  // while not searching
    bool cycling_ = true;
    int input_ = 1;
    std::uint64_t dwell_ = 0;  // ticks spent on input_ in this turn
    int span_ = 1;
    bool fast_ = false;
    std::uint8_t valid_ = 0x0F;
    int recordInput_ = 0;
    int quality_ = 0;
    LONG standard_ = kDefaultVideoStandard;
    VideoFormat format_;

    // Frame clock: tick n falls at epochTime_ + format_.FrameTime(n - epochFrame_).
    std::uint64_t nextFrame_ = 0;
    std::uint64_t epochFrame_ = 0;
    std::chrono::nanoseconds epochTime_{0};
};

}  // namespace devices
