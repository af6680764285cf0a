// The options of the quadrel program.
#pragma once

#include <optional>
#include <span>
#include <string>

struct QuadrelOptions {
    bool help = false;
    bool noDevice = false;                  // run without the simulated grabber
    std::optional<std::string> scenario;    // the simulated grabber's scenario text
    std::optional<std::string> screenshot;  // save a picture of the window there and exit
    std::optional<int> layout;              // 1 single, 3 big and small, 4 quad
};

// Reads the options from `args` (program name first). False, with the reason in *error, for an
// unknown option or an option without its value.
bool ParseCommandLine(std::span<const char* const> args, QuadrelOptions* options,
                      std::string* error);

// The text of --help.
std::string UsageText();
