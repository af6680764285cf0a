// CQuadrelApp: the program's start-up. It makes the component runtime, the media runtime and the
// simulated grabber ready, runs the main window modally for the whole life of the process and
// releases everything in the reverse order when the window has ended.
#pragma once

#include <optional>

#include "platform/devices/scenario.h"
#include "viewer/app/command_line.h"

class CQuadrelApp {
  public:
    // `scenario`: the simulated grabber's; none runs the viewer without a grabber.
    CQuadrelApp(QuadrelOptions options, std::optional<devices::Scenario> scenario);

    // Runs the main window; the process's exit status (1 when a screenshot was asked for and
    // could not be saved).
    int InitInstance();

  private:
    const QuadrelOptions options_;
    const std::optional<devices::Scenario> scenario_;
};
