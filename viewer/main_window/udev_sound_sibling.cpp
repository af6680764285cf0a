#include "viewer/main_window/udev_sound_sibling.h"

#include <libudev.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>

namespace {

struct UdevUnref {
    void operator()(udev* context) const { udev_unref(context); }
};
struct DeviceUnref {
    void operator()(udev_device* device) const { udev_device_unref(device); }
};
struct EnumerateUnref {
    void operator()(udev_enumerate* enumerate) const { udev_enumerate_unref(enumerate); }
};

// The USB device (or else PCI function) a device hangs from; not owned (lives with `device`).
udev_device* HardwareParent(udev_device* device) {
    udev_device* usb = udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_device");
    return usb ? usb : udev_device_get_parent_with_subsystem_devtype(device, "pci", nullptr);
}

}  // namespace

std::string SoundCaptureSiblingOfNode(const std::string& node) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(node, error);
    const std::string sysName =
        error ? std::filesystem::path(node).filename().string() : resolved.filename().string();
    const std::unique_ptr<udev, UdevUnref> context(udev_new());
    if (!context) return {};
    const std::unique_ptr<udev_device, DeviceUnref> video(
        udev_device_new_from_subsystem_sysname(context.get(), "video4linux", sysName.c_str()));
    if (!video) return {};
    udev_device* parent = HardwareParent(video.get());
    if (!parent) return {};
    const std::string parentPath = udev_device_get_syspath(parent);

    const std::unique_ptr<udev_enumerate, EnumerateUnref> enumerate(
        udev_enumerate_new(context.get()));
    if (!enumerate) return {};
    udev_enumerate_add_match_subsystem(enumerate.get(), "sound");
    udev_enumerate_scan_devices(enumerate.get());
    for (udev_list_entry* entry = udev_enumerate_get_list_entry(enumerate.get()); entry;
         entry = udev_list_entry_get_next(entry)) {
        const std::string_view path = udev_list_entry_get_name(entry);
        // A capture PCM below the same hardware: .../sound/cardN/pcmCNDMc.
        if (path.size() <= parentPath.size() || path.substr(0, parentPath.size()) != parentPath ||
            path[parentPath.size()] != '/')
            continue;
        const std::size_t slash = path.rfind('/');
        const std::string name(path.substr(slash + 1));
        int card = -1;
        int device = -1;
        char direction = 0;
        if (std::sscanf(name.c_str(), "pcmC%dD%d%c", &card, &device, &direction) == 3 &&
            direction == 'c')
            return "plughw:" + std::to_string(card) + "," + std::to_string(device);
    }
    return {};
}
