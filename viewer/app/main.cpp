// quadrel: the four-channel surveillance viewer.
#include <malloc.h>

#include <QApplication>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/base/printable_text.h"
#include "platform/devices/scenario.h"
#include "platform/devices/scenario_source.h"
#include "platform/devices/v4l2/capture_catalog.h"
#include "viewer/app/command_line.h"
#include "viewer/app/device_setting.h"
#include "viewer/app/display_guard.h"
#include "viewer/app/quadrel_app.h"

namespace {

// Whether an argument is `name` or starts with "name=".
bool HasArgument(int argc, char** argv, std::string_view name) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == name || (arg.size() > name.size() && arg.substr(0, name.size()) == name &&
                            arg[name.size()] == '='))
            return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // The viewer runs for days, and its resident size should stay where it is after start-up.
    // glibc gives a thread that allocates while another does an arena of its own, up to eight a
    // core, and what is freed in an arena mostly stays in the process: two arenas, the GUI
    // thread's and one for the streaming threads (which allocate little per frame), are enough.
    // glibc also raises its mmap threshold each time a large block is freed, so that pictures,
    // recording buffers and snapshots (0.3 to 1.6 MiB each) come to be carved out of the heap,
    // which then stays grown and fragmented; a fixed threshold keeps them mapped and returns
    // them whole when freed. Either tunable in the environment still decides when it is set.
    if (!std::getenv("MALLOC_ARENA_MAX")) mallopt(M_ARENA_MAX, 2);
    if (!std::getenv("MALLOC_MMAP_THRESHOLD_")) mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    std::setlocale(LC_ALL, "");
    // Help needs no display; a screenshot on a machine without a screen is drawn offscreen.
    if (HasArgument(argc, argv, "--help") || HasArgument(argc, argv, "-h")) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (HasArgument(argc, argv, "--list-devices")) {
        std::fputs(devices::FormatCaptureDevices(devices::ListCaptureDevices()).c_str(), stdout);
        return 0;
    }
    if (HasArgument(argc, argv, "--version")) {
        std::fputs(VersionText().c_str(), stdout);
        return 0;
    }
    if (HasArgument(argc, argv, "--screenshot") && !std::getenv("QT_QPA_PLATFORM") &&
        !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    std::optional<CDisplayGuard> guard(std::in_place);
    QApplication application(argc, argv);  // takes Qt's own options out of argv
    guard.reset();
    // The desktop entry's name, which Wayland compositors match to the entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quadrel.Quadrel"));
    QuadrelOptions options;
    std::string error;
    if (!ParseCommandLine({argv, static_cast<std::size_t>(argc)}, &options, &error)) {
        std::fprintf(stderr, "quadrel: %s (see quadrel --help)\n", error.c_str());
        return 2;
    }
    if (options.screenshot) {
        if (const std::optional<std::string> problem = ScreenshotPathProblem(*options.screenshot)) {
            std::fprintf(stderr, "quadrel: cannot save the screenshot: %s\n", problem->c_str());
            return 1;
        }
    }

    // Real hardware when chosen on the command line or in the settings; else the simulator.
    std::vector<std::string> deviceNodes;
    if (!options.noDevice) {
        const std::optional<std::string> chosen =
            options.device ? options.device : ReadCaptureDeviceSetting();
        if (chosen) {
            const std::optional<std::vector<std::string>> nodes = ParseDeviceNodes(*chosen);
            if (!nodes) {
                std::fprintf(stderr, "quadrel: bad capture device %s\n",
                             text::QuotedPrintable(*chosen).c_str());
                return 2;
            }
            deviceNodes = *nodes;
        }
    }
    std::optional<devices::Scenario> scenario;
    if (!options.noDevice && deviceNodes.empty()) {
        const char* const programOnly[] = {argv[0]};
        const std::string text =
            options.scenario ? *options.scenario
                             : devices::FindScenarioText(programOnly).value_or(std::string());
        scenario.emplace();
        if (!devices::ParseScenario(text, &*scenario, &error)) {
            std::fprintf(stderr, "quadrel: bad simulator scenario: %s\n", error.c_str());
            return 2;
        }
    }
    return CQuadrelApp(std::move(options), std::move(scenario), std::move(deviceNodes))
        .InitInstance();
}
