#include "platform/devices/scenario.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "platform/devices/scenario_source.h"
#include "tests/support/temp_dir.h"

namespace devices {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
using Kind = ScenarioEvent::Kind;

Scenario Parse(std::string_view text) {
    Scenario scenario;
    std::string error;
    EXPECT_TRUE(ParseScenario(text, &scenario, &error)) << error;
    return scenario;
}

std::string ErrorOf(std::string_view text) {
    Scenario scenario;
    std::string error;
    EXPECT_FALSE(ParseScenario(text, &scenario, &error)) << text;
    return error;
}

TEST(ScenarioTest, EmptyTextIsAllSignalsAttachedNoEvents) {
    for (std::string_view text : {"", "  ", ";;", "\n"}) {
        const Scenario s = Parse(text);
        EXPECT_EQ(s.initialSignal, 0x0F);
        EXPECT_TRUE(s.attachedAtStart);
        EXPECT_TRUE(s.events.empty());
    }
}

TEST(ScenarioTest, FullExampleInTimeOrder) {
    const Scenario s = Parse("signal=1,2,4; 5s unplug 2; 12s plug 2; 20s remove; 25s arrive");
    EXPECT_EQ(s.initialSignal, 0b1011);
    const std::vector<ScenarioEvent> expected = {
        {seconds(5), Kind::Unplug, 0b0010},
        {seconds(12), Kind::Plug, 0b0010},
        {seconds(20), Kind::Remove, 0},
        {seconds(25), Kind::Arrive, 0},
    };
    EXPECT_EQ(s.events, expected);
}

TEST(ScenarioTest, TimeForms) {
    const Scenario s = Parse("2.5s unplug 1; 1500ms plug 1; 3 remove; 0.25 arrive; 1.5ms unplug 4");
    ASSERT_EQ(s.events.size(), 5u);
    // Sorted by time.
    EXPECT_EQ(s.events[0].time, std::chrono::microseconds(1500));
    EXPECT_EQ(s.events[1].time, milliseconds(250));
    EXPECT_EQ(s.events[2].time, milliseconds(1500));
    EXPECT_EQ(s.events[3].time, milliseconds(2500));
    EXPECT_EQ(s.events[4].time, seconds(3));
}

TEST(ScenarioTest, SameTimeKeepsWrittenOrderAndBlanksAreFree) {
    const Scenario s = Parse("  signal = none ;\n4s plug 1 , 3\n 4s   unplug 3 ; absent ");
    EXPECT_EQ(s.initialSignal, 0);
    EXPECT_FALSE(s.attachedAtStart);
    ASSERT_EQ(s.events.size(), 2u);
    EXPECT_EQ(s.events[0].kind, Kind::Plug);
    EXPECT_EQ(s.events[0].inputs, 0b0101);
    EXPECT_EQ(s.events[1].kind, Kind::Unplug);
    EXPECT_EQ(s.events[1].inputs, 0b0100);
}

TEST(ScenarioTest, ErrorsNameTheBadPart) {
    EXPECT_EQ(ErrorOf("signal=1; 5s unplgu 2"), R"(unknown event "unplgu" in "5s unplgu 2")");
    EXPECT_EQ(ErrorOf("5x unplug 2"), R"(bad time "5x" in "5x unplug 2")");
    EXPECT_EQ(ErrorOf("5.s unplug 2"), R"(bad time "5.s" in "5.s unplug 2")");
    EXPECT_EQ(ErrorOf("5s unplug 5"), R"(bad input "5" in "5s unplug 5")");
    EXPECT_EQ(ErrorOf("5s unplug 1,,2"), R"(bad input "" in "5s unplug 1,,2")");
    EXPECT_EQ(ErrorOf("5s plug"), R"(missing inputs in "5s plug")");
    EXPECT_EQ(ErrorOf("5s"), R"(missing event in "5s")");
    EXPECT_EQ(ErrorOf("remove"), R"(missing time in "remove")");
    EXPECT_EQ(ErrorOf("20s remove 2"), R"("remove" takes no inputs in "20s remove 2")");
    EXPECT_EQ(ErrorOf("signal=0"), R"(bad input "0" in "signal=0")");
    EXPECT_EQ(ErrorOf("signal="), R"(missing inputs in "signal=")");
    EXPECT_EQ(ErrorOf("signal 1"), R"(expected "signal=" in "signal 1")");
    EXPECT_EQ(ErrorOf("signal=1; signal=2"), R"("signal=" given twice in "signal=2")");
    EXPECT_EQ(ErrorOf("present"), R"(unknown item "present" in "present")");
    EXPECT_EQ(ErrorOf("99999999s remove"), R"(bad time "99999999s" in "99999999s remove")");
}

TEST(ScenarioTest, FailureLeavesTheOutputAlone) {
    Scenario s;
    s.initialSignal = 0b0101;
    std::string error;
    EXPECT_FALSE(ParseScenario("signal=1; 3s explode", &s, &error));
    EXPECT_EQ(s.initialSignal, 0b0101);
}

TEST(ScenarioSourceTest, CommandLineBeatsEnvironment) {
    testing_support::ScopedEnv env(kScenarioVariable, "signal=3");
    const std::array<const char*, 3> joined = {"quadrel", "--simulator=signal=1", "other"};
    EXPECT_EQ(FindScenarioText(joined), "signal=1");
    const std::array<const char*, 3> separate = {"quadrel", "--simulator", "signal=2"};
    EXPECT_EQ(FindScenarioText(separate), "signal=2");
    const std::array<const char*, 2> none = {"quadrel", "--simulatorx=1"};
    EXPECT_EQ(FindScenarioText(none), "signal=3");
    // An option without its value does not swallow the environment.
    const std::array<const char*, 2> dangling = {"quadrel", "--simulator"};
    EXPECT_EQ(FindScenarioText(dangling), "signal=3");
}

TEST(ScenarioSourceTest, NothingGivenIsNothing) {
    testing_support::ScopedEnv restore(kScenarioVariable, "");
    ::unsetenv(kScenarioVariable);
    const std::array<const char*, 1> args = {"quadrel"};
    EXPECT_EQ(FindScenarioText(args), std::nullopt);
}

}  // namespace
}  // namespace devices
