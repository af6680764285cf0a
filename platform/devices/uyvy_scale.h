// Nearest-neighbour resampling of a packed UYVY picture into another size, two pixels (one
// U Y V Y group) at a time so that chroma stays paired. Used where a stream's connection
// size differs from the captured picture's (a standard changed while connected); the V4L2
// back-end scales properly before that.
#pragma once

#include <cstdint>
#include <span>

#include "platform/devices/frame_picture.h"

namespace devices {

// Writes `to`'s picture (to.FrameBytes() bytes, which `out` must hold) from `from`. A source
// with a zero size or too few bytes gives black.
void ScaleUyvy(const FramePicture& from, const VideoFormat& to, std::span<std::uint8_t> out);

}  // namespace devices
