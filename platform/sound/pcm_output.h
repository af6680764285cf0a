// Where PCM samples are played: the sound device, or nowhere at the pace of real playback. The
// one output of the program: the looping WAVE player and the audio renderer both write to it.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "platform/sound/wave_data.h"

namespace sound {

class PcmOutput {
  public:
    virtual ~PcmOutput() = default;
    // Prepares to play `format` (8-bit unsigned or 16-bit signed samples); false when the output
    // cannot take it. The thread that writes.
    virtual bool Open(const PcmFormat& format) = 0;
    // Queues whole frames for playing. Waits at most `maxWait` for room in the device's buffer
    // and drops what still does not fit: a live stream passes zero and never waits, a player
    // that keeps its pace by the device passes about the length of what it writes. False when
    // the output failed and should not be written again. The thread that writes.
    virtual bool Write(std::span<const std::uint8_t> frames, std::chrono::milliseconds maxWait) = 0;
    // Drops what is still queued, at once.
    virtual void Close() = 0;
};

// The ALSA playback device named by $QUADREL_AUDIO_DEVICE ("default" when unset); null when it
// does not open or the variable says "none".
std::unique_ptr<PcmOutput> OpenAlsaOutput();

// An output that plays nothing: a write waits as long as its frames would take to play (at most
// its `maxWait`), so that a player keeps the pace of real playback on machines without sound.
std::unique_ptr<PcmOutput> MakeSilentOutput();

// The ALSA device, or the silent output when none opens.
std::unique_ptr<PcmOutput> OpenPcmOutput();

}  // namespace sound
