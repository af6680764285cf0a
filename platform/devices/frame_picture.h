// A picture that a device captured: packed UYVY (two bytes per pixel) at `format`'s size. Shared
// between the device and the streams that send it; the device reuses a picture's buffer once no
// stream holds it any more.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/devices/analog_video_standard.h"

namespace devices {

struct FramePicture {
    VideoFormat format;               // width and height of the picture
    std::vector<std::uint8_t> bytes;  // format.FrameBytes() bytes, rows top-down
};

}  // namespace devices
