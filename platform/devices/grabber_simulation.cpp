#include "platform/devices/grabber_simulation.h"

#include <algorithm>
#include <limits>

namespace devices {

using std::chrono::nanoseconds;

GrabberSimulation::GrabberSimulation(Scenario scenario)
    : scenario_(std::move(scenario)),
      signal_(scenario_.initialSignal),
      attached_(scenario_.attachedAtStart) {
    PowerOn();
}

void GrabberSimulation::PowerOn() {
    searching_ = false;
    searchResult_ = SearchState::NotRun;
    cycling_ = true;
    input_ = 1;
    dwell_ = 0;
    span_ = 1;
    fast_ = false;
    valid_ = 0x0F;
    recordInput_ = 0;
    quality_ = 0;
    standard_ = kDefaultVideoStandard;
    format_ = *FormatOfStandard(standard_);
    nextFrame_ = 0;
    epochFrame_ = 0;
    epochTime_ = now_;
}

nanoseconds GrabberSimulation::NextFrameTime() const {
    if (!attached_) return nanoseconds::max();
    return epochTime_ + format_.FrameTime(nextFrame_ - epochFrame_);
}

nanoseconds GrabberSimulation::NextEventTime() const {
    nanoseconds next = NextFrameTime();
    if (nextEvent_ < scenario_.events.size())
        next = std::min(next, scenario_.events[nextEvent_].time);
    if (attached_ && searching_) next = std::min(next, searchStart_ + kSearchTime);
    return next;
}

void GrabberSimulation::AdvanceTo(nanoseconds time, SimulationObserver& observer) {
    while (true) {
        const nanoseconds next = NextEventTime();
        if (next > time) break;
        now_ = std::max(now_, next);
        if (nextEvent_ < scenario_.events.size() && scenario_.events[nextEvent_].time <= now_) {
            Apply(scenario_.events[nextEvent_++], observer);
        } else if (attached_ && searching_ && searchStart_ + kSearchTime <= now_) {
            FinishSearch();
        } else {
            Tick(observer);
        }
    }
    now_ = std::max(now_, time);
}

void GrabberSimulation::Apply(const ScenarioEvent& event, SimulationObserver& observer) {
    switch (event.kind) {
        case ScenarioEvent::Kind::Unplug:
            signal_ &= static_cast<std::uint8_t>(~event.inputs);
            break;
        case ScenarioEvent::Kind::Plug:
            signal_ |= event.inputs;
            break;
        case ScenarioEvent::Kind::Remove:
            if (!attached_) break;
            attached_ = false;
            observer.OnAttachedChanged(false, now_);
            break;
        case ScenarioEvent::Kind::Arrive:
            if (attached_) break;
            attached_ = true;
            PowerOn();
            observer.OnAttachedChanged(true, now_);
            break;
    }
}

SearchState GrabberSimulation::GetSearchState() const {
    if (!searching_) return searchResult_;
    return now_ - searchStart_ < kSearchScanningTime ? SearchState::Scanning : SearchState::Locking;
}

void GrabberSimulation::StartSearch() {
    searching_ = true;
    searchStart_ = now_;
}

void GrabberSimulation::StopSearch() {
    if (!searching_) return;
    searching_ = false;
    searchResult_ = SearchState::Finished;
}

void GrabberSimulation::FinishSearch() {
    searching_ = false;
    searchResult_ = SearchState::Finished;
    StartCycling();
}

void GrabberSimulation::StartCycling() {
    if (cycling_) return;
    cycling_ = true;
    dwell_ = 0;
}

void GrabberSimulation::SelectInput(int input) {
    cycling_ = false;
    input_ = input;
    dwell_ = 0;
}

void GrabberSimulation::SetCycleTiming(int spanSeconds, bool fast) {
    span_ = std::max(spanSeconds, 1);
    fast_ = fast;
}

void GrabberSimulation::SetValidInputs(std::uint8_t mask) {
    valid_ = mask & 0x0F;
}

void GrabberSimulation::SetRecordInput(int input) {
    recordInput_ = input;
}

void GrabberSimulation::EndRecordStream() {
    recordInput_ = 0;
}

void GrabberSimulation::SetRecordQuality(int quality) {
    quality_ = quality;
}

bool GrabberSimulation::SetVideoStandard(LONG standard) {
    const auto format = FormatOfStandard(standard);
    if (!format) return false;
    standard_ = standard;
    if (*format == format_) return true;
    format_ = *format;
    // The next frame is frame 1 of a clock started now: one new period away, and later frames
    // at exact multiples of the new period. (Unsigned arithmetic: at power-on, before any
    // tick, the epoch is frame "-1", which wraps and still counts right.)
    epochFrame_ = nextFrame_ - 1;
    epochTime_ = now_;
    return true;
}

int GrabberSimulation::NextValidInput(int from) const {
    for (int step = 1; step <= kInputCount; ++step) {
        const int candidate = (from - 1 + step + kInputCount) % kInputCount + 1;
        if (valid_ & InputBit(candidate)) return candidate;
    }
    return 0;
}

std::uint64_t GrabberSimulation::TurnFrames() const {
    if (fast_) return 1;
    return static_cast<std::uint64_t>(span_) * static_cast<std::uint64_t>(format_.framesPerSecond);
}

void GrabberSimulation::Tick(SimulationObserver& observer) {
    if (cycling_) {
        if (input_ == 0 || !(valid_ & InputBit(input_)) || dwell_ >= TurnFrames()) {
            input_ = NextValidInput(input_);
            dwell_ = 0;
        }
        ++dwell_;
    }
    FrameTick tick;
    tick.frame = nextFrame_++;
    tick.time = now_;
    tick.format = format_;
    tick.input = input_;
    tick.signal = input_ != 0 && (signal_ & InputBit(input_)) != 0;
    tick.recorded = input_ != 0 && input_ == recordInput_;
    observer.OnFrameTick(tick);
}

}  // namespace devices
