#include "viewer/app/quadrel_app.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/base/printable_text.h"
#include "platform/com/runtime.h"
#include "platform/device_pages/device_pages.h"
#include "platform/devices/simulated_device.h"
#include "platform/devices/v4l2/v4l2_device.h"
#include "platform/media/runtime/media_runtime.h"
#include "platform/registry/memory_hives.h"
#include "platform/ui/qt_prompts.h"
#include "viewer/alerts/alarm_options.h"
#include "viewer/app/app_translation.h"
#include "viewer/app/overlay_registration.h"
#include "viewer/app/signal_shutdown.h"
#include "viewer/app/window_screenshot.h"
#include "viewer/main_window/quadrel_dlg.h"
#include "viewer/main_window/udev_node_path.h"
#include "viewer/main_window/udev_sound_sibling.h"
#include "viewer/resources/resources.h"

namespace {

// The component runtime for the GUI thread, for the life of the program.
class CComScope {
  public:
    CComScope() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~CComScope() {
        if (ok_) CoUninitialize();
    }
    CComScope(const CComScope&) = delete;
    CComScope& operator=(const CComScope&) = delete;

  private:
    const bool ok_;
};

}  // namespace

CQuadrelApp::CQuadrelApp(QuadrelOptions options, std::optional<devices::Scenario> scenario,
                         std::vector<std::string> deviceNodes)
    : options_(std::move(options)),
      scenario_(std::move(scenario)),
      deviceNodes_(std::move(deviceNodes)) {}

int CQuadrelApp::InitInstance() {
    resources::Init();
    // English (or another translated language) when the user's locale asks for it.
    const CAppTranslation translation;
    const CComScope com;
    RegisterMediaRuntime();
    RegisterDevicePages();  // the grabber's property page behind the Property button
    // A registry folder that cannot be read stops nothing: the overlay's registration is then
    // kept in memory for this run (the window does the same for the settings and says so).
    registry::KeepInMemoryWhenUnreadable(HKEY_CLASSES_ROOT);
    // The recordings' title overlay is found through the user's registry.
    if (std::string error;
        !EnsureOverlayRegistered(QCoreApplication::applicationDirPath().toStdString(), &error))
        std::fprintf(stderr, "quadrel: %s\n", error.c_str());
    // Declared before the window: the grabber outlives the window's registration with it.
    std::unique_ptr<devices::SimulatedDevice> grabber;
    if (scenario_) grabber = std::make_unique<devices::SimulatedDevice>(*scenario_);
    std::unique_ptr<devices::V4l2Device> hardware;
    if (!deviceNodes_.empty()) {
        hardware = std::make_unique<devices::V4l2Device>(
            deviceNodes_, CaptureInterfacePathOfNode(deviceNodes_.front()), nullptr,
            SoundCaptureSiblingOfNode(deviceNodes_.front()));
        std::string failed;
        if (const int error = hardware->Attach(&failed))
            std::fprintf(stderr, "quadrel: capture device %s: %s (waiting for it to arrive)\n",
                         failed.c_str(), std::strerror(error));
    }

    // A testing aid: the mails' TLS trusts only the certificate authorities of this PEM file
    // (a test server's own), in place of the system's store.
    AlarmOptions alarms;
    if (const char* caFile = std::getenv("QUADREL_MAIL_CA_FILE"); caFile && caFile[0])
        alarms.mail.caFile = caFile;

    // A testing aid for long runs: recordings split at this many MiB instead of 2000.
    int splitMiB = kSplitSizeMiB;
    if (const char* split = std::getenv("QUADREL_RECORDING_SPLIT_MIB"); split && split[0])
        splitMiB = std::clamp(std::atoi(split), 1, kSplitSizeMiB);

    CQtPrompts prompts;
    CQuadrelDlg::Services services;
    services.alarms = &alarms;
    services.prompts = &prompts;
    services.simulator = grabber ? &grabber->Grabber() : nullptr;
    services.watchUdev = true;
    services.recordingSplitMiB = splitMiB;
    if (hardware) {
        // The chosen hardware follows its nodes' udev events before the window sees them, so
        // that an arrival finds the device's filters listed again.
        // The window hears of the device's going and coming once each.
        services.udevHook = [device = hardware.get()](UINT event, const std::string& node) {
            if (!device->Owns(node)) return true;
            if (event == devices::DBT_DEVICEARRIVAL) return device->NodeArrived();
            if (event == devices::DBT_DEVICEREMOVECOMPLETE) return device->NodeRemoved();
            return true;
        };
        // A removal the capture notices reaches the window without udev.
        services.hardwareEvents = [device = hardware.get()](devices::DeviceChangeListener* l) {
            device->SetRemovalListener(l);
        };
    }
    CQuadrelDlg window(services);

    if (options_.layout) {
        const int layout = *options_.layout;
        QTimer::singleShot(0, &window,
                           [&window, layout] { window.Channels().ApplyLayout(layout); });
    }
    std::unique_ptr<CWindowScreenshot> screenshot;
    if (options_.screenshot) {
        screenshot = std::make_unique<CWindowScreenshot>(
            window, QString::fromLocal8Bit(options_.screenshot->c_str()));
        QTimer::singleShot(0, screenshot.get(), &CWindowScreenshot::Start);
    }
    // SIGTERM, SIGINT and SIGHUP end the viewer as Close does, once the window runs.
    const CSignalShutdown shutdown(window);
    if (!shutdown.Armed())
        std::fprintf(stderr, "quadrel: %s: the viewer cannot close itself on signals\n",
                     std::strerror(errno));
    prompts.RunModal(window);
    if (shutdown.Signal()) return 128 + shutdown.Signal();  // the shell's status of a signal
    if (screenshot && !screenshot->Saved()) {
        std::fprintf(stderr, "quadrel: could not save the screenshot to %s\n",
                     text::QuotedPrintable(*options_.screenshot).c_str());
        return 1;
    }
    return 0;
}
