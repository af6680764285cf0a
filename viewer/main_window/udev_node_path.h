// The device path of a video node as a capture-device notification names it ("\\?\USB#..."
// for a USB device), read from udev's properties of the node; the same path the udev monitor
// gives the node's arrival and removal.
#pragma once

#include <string>

// `node`: the kernel's name ("video0") or a path that leads to it (/dev/v4l/by-id/...).
// Without udev, or for a node udev does not know, the path of a device on no known bus.
std::u16string CaptureInterfacePathOfNode(const std::string& node);
