// The sound card that belongs to a video node: the ALSA capture device that udev shows under the
// same USB device (or PCI function) as the node, as an ALSA device name for the plug layer
// ("plughw:1,0"). Capture cards and USB grabbers with sound have one.
#pragma once

#include <string>

// `node`: the kernel's name ("video0") or a path that leads to it. Empty when the node has no
// sibling capture device, or without udev.
std::string SoundCaptureSiblingOfNode(const std::string& node);
