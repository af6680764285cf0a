#include "platform/devices/v4l2/input_schedule.h"

#include <algorithm>
#include <limits>

#include "platform/devices/frame_tick.h"

namespace devices {

InputSchedule::InputSchedule(int settleFrames, bool shortChecks)
    : settle_(std::max(settleFrames, 1)), shortChecks_(shortChecks) {}

void InputSchedule::SetFramesPerSecond(int fps) {
    fps_ = std::max(fps, 1);
}

int InputSchedule::ShownInput() const {
    if (phase_ == Phase::Idle && cycling_ && valid_ == 0) return 0;
    return physical_;
}

InputSchedule::Frame InputSchedule::OnFrame() {
    if (dwell_ < std::numeric_limits<int>::max()) ++dwell_;
    Frame frame;
    frame.input = ShownInput();
    if (frame.input == 0) return frame;
    frame.check = Settled();
    // The last settle frame is still dropped: its status read decides the turn. The search's
    // visits deliver nothing.
    frame.deliver = dwell_ > settle_ && phase_ != Phase::Scanning;
    return frame;
}

void InputSchedule::SetSignal(int input, bool signal) {
    if (input < 1 || input > kInputCount) return;
    if (signal)
        signal_ |= InputBit(input);
    else
        signal_ &= static_cast<std::uint8_t>(~InputBit(input));
}

int InputSchedule::TurnFrames() const {
    if (fast_) return settle_ + 1;
    return std::max(span_, 1) * fps_;
}

int InputSchedule::NextValidAfter(int from) const {
    for (int step = 1; step <= kInputCount; ++step) {
        const int input = (from - 1 + step) % kInputCount + 1;
        if (IsValid(input)) return input;
    }
    return 0;
}

int InputSchedule::LockTarget() const {
    for (int input = 1; input <= kInputCount; ++input)
        if (IsValid(input) && HasSignal(input)) return input;
    for (int input = 1; input <= kInputCount; ++input)
        if (IsValid(input)) return input;
    return physical_;
}

int InputSchedule::AfterFrame() {
    switch (phase_) {
        case Phase::Scanning:
            if (physical_ != scanTarget_) return scanTarget_;
            if (!Settled()) return 0;
            // This frame's status read was the visit of scanTarget_.
            if (scanTarget_ < kInputCount) return ++scanTarget_;
            phase_ = Phase::Locking;
            scanTarget_ = LockTarget();
            return scanTarget_ != physical_ ? scanTarget_ : 0;
        case Phase::Locking:
            if (physical_ != scanTarget_) return scanTarget_;
            if (Settled()) {
                FinishSearch();
                cycling_ = true;
            }
            return 0;
        case Phase::Idle:
            break;
    }
    return CyclingSwitch();
}

int InputSchedule::CyclingSwitch() {
    if (!cycling_) return fixedInput_ != physical_ ? fixedInput_ : 0;
    if (valid_ == 0) return 0;
    const int from = failedFrom_ ? failedFrom_ : physical_;
    int next = 0;
    if (!IsValid(physical_)) {
        next = NextValidAfter(from);
    } else if (Settled()) {
        const bool dead = !HasSignal(physical_);
        if (dwell_ >= TurnFrames() || (shortChecks_ && dead)) next = NextValidAfter(from);
    }
    if (next == physical_) {
        failedFrom_ = 0;
        return 0;
    }
    return next;
}

void InputSchedule::Switched(int input) {
    failedFrom_ = 0;
    physical_ = input;
    dwell_ = 0;
}

void InputSchedule::SwitchFailed(int input) {
    // The decoder stays where it is.
    switch (phase_) {
        case Phase::Scanning:
            // The input cannot be visited: the pass goes on with the next one.
            if (scanTarget_ < kInputCount) {
                ++scanTarget_;
            } else {
                phase_ = Phase::Locking;
                scanTarget_ = physical_;
            }
            return;
        case Phase::Locking:
            scanTarget_ = physical_;
            return;
        case Phase::Idle:
            failedFrom_ = input;
            return;
    }
}

void InputSchedule::FinishSearch() {
    phase_ = Phase::Idle;
    searchResult_ = SearchState::Finished;
}

void InputSchedule::StartSearch() {
    phase_ = Phase::Scanning;
    failedFrom_ = 0;
    scanTarget_ = 1;
}

void InputSchedule::StopSearch() {
    if (phase_ != Phase::Idle) FinishSearch();
}

SearchState InputSchedule::GetSearchState() const {
    switch (phase_) {
        case Phase::Scanning:
            return SearchState::Scanning;
        case Phase::Locking:
            return SearchState::Locking;
        case Phase::Idle:
            break;
    }
    return searchResult_;
}

void InputSchedule::StartCycling() {
    if (cycling_) return;
    cycling_ = true;
    // The decoder is on an input already: a valid one keeps it for a whole turn from now.
    dwell_ = std::min(dwell_, settle_);
}

void InputSchedule::SelectInput(int input) {
    cycling_ = false;
    fixedInput_ = input;
}

void InputSchedule::SetCycleTiming(int spanSeconds, bool fast) {
    span_ = std::max(spanSeconds, 1);
    fast_ = fast;
}

void InputSchedule::SetValidInputs(std::uint8_t mask) {
    valid_ = mask & 0x0F;
}

void InputSchedule::SetRecordInput(int input) {
    recordInput_ = input;
}

}  // namespace devices
