#include "viewer/app/command_line.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "platform/base/printable_text.h"

namespace {

// "--name VALUE" or "--name=VALUE"; advances *i past the value.
bool TakeValue(std::span<const char* const> args, std::size_t* i, std::string_view name,
               std::optional<std::string>* value, bool* matched, std::string* error) {
    const std::string_view arg = args[*i];
    if (arg == name) {
        *matched = true;
        if (*i + 1 >= args.size()) {
            *error = std::string(name) + " needs a value";
            return false;
        }
        *value = args[++*i];
        return true;
    }
    if (arg.size() > name.size() && arg.substr(0, name.size()) == name && arg[name.size()] == '=') {
        *matched = true;
        *value = std::string(arg.substr(name.size() + 1));
        return true;
    }
    *matched = false;
    return true;
}

}  // namespace

bool ParseCommandLine(std::span<const char* const> args, QuadrelOptions* options,
                      std::string* error) {
    QuadrelOptions result;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            result.help = true;
            continue;
        }
        if (arg == "--version") {
            result.version = true;
            continue;
        }
        if (arg == "--no-device") {
            result.noDevice = true;
            continue;
        }
        if (arg == "--list-devices") {
            result.listDevices = true;
            continue;
        }
        bool matched = false;
        if (!TakeValue(args, &i, "--device", &result.device, &matched, error)) return false;
        if (matched) {
            if (!ParseDeviceNodes(*result.device)) {
                *error = "--device takes a video node, or up to four nodes separated by ','";
                return false;
            }
            continue;
        }
        for (const std::string_view name : {"--simulate", "--simulator"}) {
            if (!TakeValue(args, &i, name, &result.scenario, &matched, error)) return false;
            if (matched) break;
        }
        if (matched) continue;
        if (!TakeValue(args, &i, "--screenshot", &result.screenshot, &matched, error)) return false;
        if (matched) {
            if (result.screenshot->empty()) {
                *error = "--screenshot needs a file name";
                return false;
            }
            continue;
        }
        std::optional<std::string> layout;
        if (!TakeValue(args, &i, "--layout", &layout, &matched, error)) return false;
        if (matched) {
            if (*layout != "1" && *layout != "3" && *layout != "4") {
                *error = "--layout takes 1, 3 or 4";
                return false;
            }
            result.layout = std::stoi(*layout);
            continue;
        }
        *error = "unknown option " + text::QuotedPrintable(arg);
        return false;
    }
    *options = std::move(result);
    return true;
}

std::optional<std::vector<std::string>> ParseDeviceNodes(std::string_view text) {
    std::vector<std::string> nodes;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string_view item = text.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (item.empty()) return std::nullopt;
        nodes.emplace_back(item);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (nodes.size() > 4) return std::nullopt;
    return nodes;
}

std::string UsageText() {
    return R"(usage: quadrel [--simulate SCENARIO | --device PATH] [--no-device] [--layout N]
              [--screenshot FILE] [--list-devices] [--version] [--help]

The four-channel surveillance viewer. It runs on a simulated four-input grabber unless a capture
device is chosen with --device (or the "Capture Device" setting).

  --device PATH         watch real cameras through V4L2: PATH is the video node of a capture
                        card or USB grabber whose inputs share one decoder (the inputs are
                        switched in turn), best its stable name /dev/v4l/by-id/...; or up to four
                        nodes separated by ',' for a card with one node per input (all stream at
                        once). Pictures in UYVY or YUYV are used directly, other formats are
                        converted; they are scaled to 720 x 576 (PAL) or 720 x 480 (NTSC). The
                        sound comes from the device's own sound card when udev shows one beside
                        the video node, else the audio is silent. Unplugging the device raises
                        the alarm; plugging it back (udev) starts viewing again.
                        Needs read and write access to the nodes (the video group).
  --list-devices        print the capture devices found, their stable names and inputs, and
                        whether each input has a signal, then exit
  --simulate SCENARIO   the simulated grabber's scenario (also --simulator; default: the
                        QUADREL_SIMULATOR environment variable, else four cameras with signal).
                        Items separated by ';':
                          signal=1,2,4       inputs with a camera signal at start ("none": none)
                          absent             the grabber is not attached at start
                          <time> unplug 2,3  cameras 2 and 3 lose their signal at <time>
                          <time> plug 2      camera 2 is plugged back
                          <time> remove      the whole grabber is unplugged
                          <time> arrive      the grabber is plugged back
                        <time> counts from start: "5s", "2.5s", "1500ms".
                        Example: --simulate "signal=1,2,4; 5s unplug 2; 20s remove; 25s arrive"
  --no-device           start without any grabber (empty panes)
  --layout N            the panes' layout once the capture runs: 4 quad (the default), 3 one
                        big pane over three small ones, 1 the current channel alone (which puts
                        the grabber on that input until the next signal search ends)
  --screenshot FILE     start, let the cameras' pictures arrive for a few seconds, save a PNG
                        picture of the window (transparent outside its shape) and exit; works
                        without a screen with QT_QPA_PLATFORM=offscreen
  --version             print the program's version and exit
  --help                this text

Qt's own options (for example -platform offscreen) may come first. The viewer starts locked; the
first login is "Admin" with an empty password. Settings are kept in $QUADREL_REGISTRY_DIR, else
$XDG_CONFIG_HOME/quadrel/ (normally ~/.config/quadrel/). At start the viewer registers the
overlay library installed with it there, unless the overlay is registered to a library that
exists.

Alarm and test mails verify a TLS server's certificate against the system's certificate store.
For testing with a mail server of one's own, QUADREL_MAIL_CA_FILE names a PEM file of the
certificate authorities to trust instead.
)";
}

std::string VersionText() {
    return std::string("quadrel ") + QUADREL_VERSION + "\n";
}

std::optional<std::string> ScreenshotPathProblem(const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path file(path);
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const std::string shown = text::QuotedPrintable(folder.string());
    std::error_code error;
    const fs::file_status status = fs::status(folder, error);
    if (!fs::exists(status)) return "the folder " + shown + " does not exist";
    if (!fs::is_directory(status)) return shown + " is not a folder";
    if (access(folder.c_str(), W_OK | X_OK) != 0)
        return "the folder " + shown + " cannot be written (" + std::strerror(errno) + ")";
    if (fs::is_directory(fs::status(file, error)))
        return text::QuotedPrintable(path) + " is a folder, not a file name";
    return std::nullopt;
}
