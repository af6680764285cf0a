// CQuadrelApp: the program's start-up. It makes the component runtime, the media runtime and the
// grabber ready (the simulated one, or the capture hardware chosen), runs the main window modally
// for the whole life of the process and releases everything in the reverse order when the window
// has ended.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/devices/scenario.h"
#include "viewer/app/command_line.h"

class CQuadrelApp {
  public:
    // `scenario`: the simulated grabber's; `deviceNodes`: the capture hardware's nodes instead
    // (the --device form). Neither runs the viewer without a grabber.
    CQuadrelApp(QuadrelOptions options, std::optional<devices::Scenario> scenario,
                std::vector<std::string> deviceNodes = {});

    // Runs the main window; the process's exit status (1 when a screenshot was asked for and
    // could not be saved).
    int InitInstance();

  private:
    const QuadrelOptions options_;
    const std::optional<devices::Scenario> scenario_;
    const std::vector<std::string> deviceNodes_;
};
