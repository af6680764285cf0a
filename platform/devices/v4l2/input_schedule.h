// InputSchedule: the V4L2 back-end's model of the grabber's hardware for a device whose inputs
// share one decoder (one video node, inputs switched with VIDIOC_S_INPUT). It carries out the
// commands of the private property set and decides, frame by frame, which input the decoder is
// on, which frames are delivered and when to switch. It does no I/O: the grabber reads the
// input status when told to, reports it back, and switches the node when told to.
//
// Behaviour:
// - Settling: after a switch the decoder needs `settleFrames` frames to lock; those frames are
//   dropped. The input's status is read on the last of them and on every frame after.
// - Search (command 1): state 1 while the decoder visits inputs 1 to 4 in turn, one settle
//   period each, and reads each one's signal; state 2 while it locks on the first valid input
//   with a signal (the first valid one if none has a signal); then state 3 and cycling. Stopping
//   a search (command 10) ends it with state 3 and leaves the mode as it was. Before any
//   search the state is 0.
// - Cycling (command 4) visits the valid inputs (command 9) in the order 1, 2, 3, 4, 1, ... and
//   stays on each for the turn span (command 8, seconds at the standard's frame rate, at least
//   one second) counted from the switch; with fast turning a turn is one settle period and one
//   delivered frame. With no valid input the decoder rests: no input has frames.
// - Dead inputs while cycling: an input whose signal is off gets a short check only (one
//   settle period and its status read), so that the time goes to the live cameras; when the
//   check finds its signal back it stays for the whole turn. An input that loses its signal in
//   the middle of its turn is left at once. (Off with shortChecks = false: every valid input
//   gets its whole turn.)
// - Fixed mode (command 5) keeps the decoder on one input, valid or not.
// - Recording: command 2 picks the recorded input (its frames go to the capture output too),
//   command 3 turns that off; the quality (command 12) is kept and reported.
// - Power-on: search state 0, cycling from input 1 with a one-second span, all four inputs
//   valid, no input known to have a signal, capture stream off, quality 0.
//
// Not thread-safe: the grabber calls in under its lock.
#pragma once

#include <cstdint>

#include "platform/devices/grabber_hardware.h"

namespace devices {

class InputSchedule final : public GrabberHardware {
  public:
    // What one frame from the decoder is.
    struct Frame {
        int input = 0;         // the input it shows, 1..4; 0 while the decoder rests
        bool deliver = false;  // settled: it goes out on the input's outputs
        bool check = false;    // read the input's status now and report it with SetSignal
    };

    InputSchedule(int settleFrames, bool shortChecks);

    // The frame rate of the decoder's standard, which turns the span into frames.
    void SetFramesPerSecond(int fps);
    int SettleFrames() const { return settle_; }

    // A frame arrived from the decoder.
    Frame OnFrame();
    // The status read of `input`: whether it has a signal.
    void SetSignal(int input, bool signal);
    // Once after each frame (and its status read): the input the decoder should be switched to
    // now, 0 to stay. Answer with Switched or SwitchFailed.
    int AfterFrame();
    // The node took the switch to `input` (settling starts) / refused it (the decoder stays
    // where it is and the next proposal is the input after `input`).
    void Switched(int input);
    void SwitchFailed(int input);

    // GrabberHardware.
    void StartSearch() override;
    void StopSearch() override;
    void StartCycling() override;
    void SelectInput(int input) override;
    void SetCycleTiming(int spanSeconds, bool fast) override;
    void SetValidInputs(std::uint8_t mask) override;
    void SetRecordInput(int input) override;
    void EndRecordStream() override { recordInput_ = 0; }
    void SetRecordQuality(int quality) override { quality_ = quality; }
    std::uint8_t SignalMask() const override { return signal_; }
    bool IsCycling() const override { return cycling_; }
    SearchState GetSearchState() const override;

    // State as of the last frame.
    int PhysicalInput() const { return physical_; }  // where the decoder is, 1..4
    int ShownInput() const;                          // 0 while resting
    bool Searching() const { return phase_ != Phase::Idle; }
    std::uint8_t ValidInputs() const { return valid_; }
    int TurnSpan() const { return span_; }
    bool FastTurning() const { return fast_; }
    int RecordInput() const { return recordInput_; }
    int RecordQuality() const { return quality_; }

  private:
    enum class Phase { Idle, Scanning, Locking };

    bool Settled() const { return dwell_ >= settle_; }
    bool HasSignal(int input) const { return (signal_ >> (input - 1)) & 1; }
    bool IsValid(int input) const { return (valid_ >> (input - 1)) & 1; }
    int TurnFrames() const;
    int NextValidAfter(int from) const;
    int LockTarget() const;
    int CyclingSwitch();
    void FinishSearch();

    // All fields: the grabber's lock.
    const int settle_;
    const bool shortChecks_;
    int fps_ = 25;
    Phase phase_ = Phase::Idle;
    SearchState searchResult_ = SearchState::NotRun;  // while not searching
    bool cycling_ = true;
    int fixedInput_ = 1;  // fixed mode's input
    int scanTarget_ = 1;  // the search: the input being visited, then the one to lock on
    int physical_ = 1;
    int dwell_ = 0;       // frames since the decoder switched to physical_
    int failedFrom_ = 0;  // a refused switch: propose the input after this one next
    int span_ = 1;
    bool fast_ = false;
    std::uint8_t valid_ = 0x0F;
    std::uint8_t signal_ = 0;
    int recordInput_ = 0;
    int quality_ = 0;
};

}  // namespace devices
