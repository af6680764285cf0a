#include "viewer/main_window/udev_node_path.h"

#include <libudev.h>

#include <filesystem>
#include <memory>

#include "viewer/main_window/udev_event.h"

namespace {

struct UdevUnref {
    void operator()(udev* context) const { udev_unref(context); }
};
struct DeviceUnref {
    void operator()(udev_device* device) const { udev_device_unref(device); }
};

std::string_view Property(udev_device* device, const char* name) {
    const char* value = device ? udev_device_get_property_value(device, name) : nullptr;
    return value ? std::string_view(value) : std::string_view();
}

}  // namespace

std::u16string CaptureInterfacePathOfNode(const std::string& node) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(node, error);
    const std::string sysName =
        error ? std::filesystem::path(node).filename().string() : resolved.filename().string();
    const std::unique_ptr<udev, UdevUnref> context(udev_new());
    std::unique_ptr<udev_device, DeviceUnref> device;
    if (context)
        device.reset(
            udev_device_new_from_subsystem_sysname(context.get(), "video4linux", sysName.c_str()));
    const UdevDeviceInfo info{"add",
                              Property(device.get(), "ID_BUS"),
                              Property(device.get(), "ID_VENDOR_ID"),
                              Property(device.get(), "ID_MODEL_ID"),
                              Property(device.get(), "ID_SERIAL_SHORT"),
                              sysName};
    return CaptureInterfacePath(info);
}
