#include "viewer/main_window/udev_monitor.h"

#include <libudev.h>

#include <QSocketNotifier>

#include "viewer/main_window/udev_event.h"

namespace {

struct DeviceUnref {
    void operator()(udev_device* device) const { udev_device_unref(device); }
};

std::string_view Property(udev_device* device, const char* name) {
    const char* value = udev_device_get_property_value(device, name);
    return value ? std::string_view(value) : std::string_view();
}

std::string_view Text(const char* value) {
    return value ? std::string_view(value) : std::string_view();
}

}  // namespace

void CUdevMonitor::UdevUnref::operator()(udev* context) const {
    udev_unref(context);
}

void CUdevMonitor::MonitorUnref::operator()(udev_monitor* monitor) const {
    udev_monitor_unref(monitor);
}

CUdevMonitor::CUdevMonitor(Sink sink, QObject* parent) : QObject(parent), sink_(std::move(sink)) {
    udev_.reset(udev_new());
    if (!udev_) return;
    monitor_.reset(udev_monitor_new_from_netlink(udev_.get(), "udev"));
    if (!monitor_) return;
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor_.get(), "video4linux", nullptr) <
            0 ||
        udev_monitor_enable_receiving(monitor_.get()) < 0) {
        monitor_.reset();
        return;
    }
    notifier_ =
        new QSocketNotifier(udev_monitor_get_fd(monitor_.get()), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &CUdevMonitor::OnReadable);
}

CUdevMonitor::~CUdevMonitor() {
    if (notifier_) notifier_->setEnabled(false);
}

void CUdevMonitor::OnReadable() {
    // One event per wake-up; the notifier fires again while more are queued.
    const std::unique_ptr<udev_device, DeviceUnref> device(
        udev_monitor_receive_device(monitor_.get()));
    if (!device || !sink_) return;
    const UdevDeviceInfo info{
        Text(udev_device_get_action(device.get())), Property(device.get(), "ID_BUS"),
        Property(device.get(), "ID_VENDOR_ID"),     Property(device.get(), "ID_MODEL_ID"),
        Property(device.get(), "ID_SERIAL_SHORT"),  Text(udev_device_get_sysname(device.get()))};
    const std::optional<UINT> event = DeviceEventOf(info.action);
    if (!event) return;
    const devices::DeviceBroadcast record(devices::KSCATEGORY_CAPTURE, CaptureInterfacePath(info));
    sink_(*event, record, std::string(info.sysName));
}
