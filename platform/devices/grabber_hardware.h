// The hardware behind the grabber's private property set: what a command block asks of the
// device and what a "get" command or the search-state read answers. The property handler decodes
// blocks and calls these; each back-end (the simulated model, the V4L2 back-end) carries them
// out on its own hardware. Not thread-safe: the back-end serialises calls (its lock is held).
#pragma once

#include <cstdint>

namespace devices {

enum class SearchState : std::uint8_t { NotRun = 0, Scanning = 1, Locking = 2, Finished = 3 };

class GrabberHardware {
  public:
    // Commands 1 and 10: start the search for input signals / end a running one early.
    virtual void StartSearch() = 0;
    virtual void StopSearch() = 0;
    // Command 4: round-robin over the valid inputs.
    virtual void StartCycling() = 0;
    // Command 5: fixed mode on `input` (1..4, checked by the caller); leaves cycling.
    virtual void SelectInput(int input) = 0;
    // Command 8: turn span in seconds and the fast-turning flag (switch every frame).
    virtual void SetCycleTiming(int spanSeconds, bool fast) = 0;
    // Command 9: bit (n - 1) set when input n takes part in cycling.
    virtual void SetValidInputs(std::uint8_t mask) = 0;
    // Commands 2 and 3: the recorded input (1..4) turns the capture stream on; off again.
    virtual void SetRecordInput(int input) = 0;
    virtual void EndRecordStream() = 0;
    // Command 12: quality 0..2 (checked by the caller).
    virtual void SetRecordQuality(int quality) = 0;

    // Answers: command 6 (bit (n - 1) = signal on input n), command 7, property 4.
    virtual std::uint8_t SignalMask() const = 0;
    virtual bool IsCycling() const = 0;
    virtual SearchState GetSearchState() const = 0;

  protected:
    ~GrabberHardware() = default;
};

}  // namespace devices
