// Where the simulated grabber's scenario text comes from: the command line option
// "--simulator=TEXT" (or "--simulator TEXT"), else the environment variable QUADREL_SIMULATOR.
#pragma once

#include <optional>
#include <span>
#include <string>

namespace devices {

inline constexpr const char* kScenarioOption = "--simulator";
inline constexpr const char* kScenarioVariable = "QUADREL_SIMULATOR";

// The scenario text from `args` (the program's arguments, program name first), else from the
// environment; nothing when neither gives one (the default scenario then applies).
std::optional<std::string> FindScenarioText(std::span<const char* const> args);

}  // namespace devices
