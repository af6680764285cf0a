// SoundSource: the sound card of a capture device (the ALSA capture device that is the video
// node's sibling), read by the capture thread once per frame period. 48 kHz stereo 16-bit.
//
// Thread contract: one capture thread makes every call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace devices {

class SoundSource {
  public:
    virtual ~SoundSource() = default;
    // Appends to `samples` (interleaved) what has arrived since the last call, at most
    // `maxFrames` sample frames, without waiting. 0 or an errno value.
    virtual int Read(std::vector<std::int16_t>* samples, std::size_t maxFrames) = 0;
};

}  // namespace devices
