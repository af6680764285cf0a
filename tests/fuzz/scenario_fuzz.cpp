// Feeds arbitrary text to the scenario parser. Oracle: a rejected text leaves the scenario as it
// was and says why; an accepted one has inputs 1..4 only, events in time order, times from zero
// to a day, and input sets only on unplug and plug events.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "platform/devices/scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using Kind = devices::ScenarioEvent::Kind;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    devices::Scenario scenario;
    scenario.initialSignal = 0x05;
    scenario.attachedAtStart = false;
    scenario.events.push_back({std::chrono::seconds(7), Kind::Remove, 0});
    const devices::Scenario before = scenario;
    std::string error;

    if (!devices::ParseScenario(text, &scenario, &error)) {
        FUZZ_CHECK(!error.empty());
        FUZZ_CHECK(scenario.initialSignal == before.initialSignal);
        FUZZ_CHECK(scenario.attachedAtStart == before.attachedAtStart);
        FUZZ_CHECK(scenario.events == before.events);
        return 0;
    }
    FUZZ_CHECK((scenario.initialSignal & ~0x0F) == 0);
    std::chrono::nanoseconds last{0};
    for (const devices::ScenarioEvent& event : scenario.events) {
        FUZZ_CHECK(event.time >= last && event.time <= std::chrono::hours(24));
        last = event.time;
        const bool hasInputs = event.kind == Kind::Unplug || event.kind == Kind::Plug;
        FUZZ_CHECK(hasInputs ? event.inputs != 0 && (event.inputs & ~0x0F) == 0
                             : event.inputs == 0);
    }
    return 0;
}
