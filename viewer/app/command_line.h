// The options of the quadrel program.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct QuadrelOptions {
    bool help = false;
    bool version = false;                   // print "quadrel VERSION" and exit
    bool noDevice = false;                  // run without the simulated grabber
    std::optional<std::string> scenario;    // the simulated grabber's scenario text
    std::optional<std::string> screenshot;  // save a picture of the window there and exit
    std::optional<int> layout;              // 1 single, 3 big and small, 4 quad
    bool listDevices = false;               // print the capture devices found and exit
    std::optional<std::string> device;      // capture hardware: a node, or nodes with ','
};

// Reads the options from `args` (program name first). False, with the reason in *error, for an
// unknown option or an option without its value.
bool ParseCommandLine(std::span<const char* const> args, QuadrelOptions* options,
                      std::string* error);

// The text of --help.
std::string UsageText();

// The nodes of a --device value: one path, or one path per input separated by commas (at most
// four). Nothing for an empty item or more than four.
std::optional<std::vector<std::string>> ParseDeviceNodes(std::string_view text);

// The line --version prints: "quadrel " and the program's version.
std::string VersionText();

// Why a picture cannot be saved at `path` (its folder missing, not a folder, or not writable),
// or nothing when it can be tried.
std::optional<std::string> ScreenshotPathProblem(const std::string& path);
