// The sound a device captured during one frame period: 48 kHz stereo 16-bit, interleaved.
// Shared between the device and the audio stream that sends it, like a FramePicture.
#pragma once

#include <cstdint>
#include <vector>

namespace devices {

struct SoundPiece {
    std::vector<std::int16_t> samples;  // left, right, left, right, ...
};

}  // namespace devices
