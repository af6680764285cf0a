// The simulated grabber's scenario: which inputs have a camera signal at start, and when cameras
// are unplugged and plugged back and the whole device is removed and attached again.
//
// Text form: items separated by ';' or line breaks; blanks between words are free.
//
//   signal=1,2,4        inputs that have a camera signal at start (default: all four);
//                       "signal=none" for none
//   absent              the device is not attached at start (default: attached)
//   <time> unplug 2,3   the cameras of inputs 2 and 3 lose their signal at <time>
//   <time> plug 2       the camera of input 2 is plugged back at <time>
//   <time> remove       the whole device is removed at <time>
//   <time> arrive       the device is attached again at <time>
//
// <time> counts from start: "5s", "2.5s", "1500ms", or a plain number of seconds ("5").
// Inputs are 1 to 4. Events may be written in any order; events at the same time happen in the
// order written. Removing a removed device or attaching an attached one changes nothing.
//
// Example: "signal=1,2,4; 5s unplug 2; 12s plug 2; 20s remove; 25s arrive"
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace devices {

struct ScenarioEvent {
    enum class Kind { Unplug, Plug, Remove, Arrive };

    std::chrono::nanoseconds time{};
    Kind kind = Kind::Unplug;
    std::uint8_t inputs = 0;  // Unplug, Plug: bit (n - 1) for input n

    friend bool operator==(const ScenarioEvent&, const ScenarioEvent&) = default;
};

struct Scenario {
    std::uint8_t initialSignal = 0x0F;  // bit (n - 1): input n has a signal at start
    bool attachedAtStart = true;
    std::vector<ScenarioEvent> events;  // in time order
};

// Parses the text form above; empty text is the default scenario. False, with a message naming
// the bad part in *error (for example `unknown event "unplgu" in "5s unplgu 2"`), for anything
// else; *scenario is then left as it was.
bool ParseScenario(std::string_view text, Scenario* scenario, std::string* error);

}  // namespace devices
