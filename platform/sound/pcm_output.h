// Where PCM samples are played: the sound card, or nowhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "platform/sound/wave_data.h"

namespace sound {

class PcmOutput {
  public:
    virtual ~PcmOutput() = default;
    // Prepares to play `format`; false when the output cannot take it.
    virtual bool Open(const PcmFormat& format) = 0;
    // Plays whole frames; blocks about as long as they take to play (the pace of the loop).
    // False when the output failed and should not be written again.
    virtual bool Write(std::span<const std::uint8_t> frames) = 0;
    // Drops what is still queued, at once.
    virtual void Close() = 0;
};

// The default ALSA device; null when no sound device can be opened.
std::unique_ptr<PcmOutput> OpenAlsaOutput();

// An output that plays nothing but keeps the pace of real playback, for machines without sound.
std::unique_ptr<PcmOutput> MakeSilentOutput();

}  // namespace sound
