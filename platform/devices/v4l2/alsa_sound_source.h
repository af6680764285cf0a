// AlsaSoundSource: an ALSA capture device as the SoundSource of a capture device, opened
// non-blocking at 48 kHz stereo 16-bit (converted by ALSA's plug layer when the card has
// another native format). An overrun restarts the stream; what was lost is silence.
//
// Thread contract: see SoundSource.
#pragma once

#include <memory>
#include <string>

#include "platform/devices/v4l2/sound_source.h"

typedef struct _snd_pcm snd_pcm_t;

namespace devices {

class AlsaSoundSource final : public SoundSource {
  public:
    // Opens `device` (e.g. "plughw:1,0"); null, with the errno value in *error, when it
    // cannot be opened or set up.
    static std::unique_ptr<AlsaSoundSource> Open(const std::string& device, int* error);

  private:
    struct Opened {};  // only Open makes sources

  public:
    AlsaSoundSource(snd_pcm_t* pcm, Opened) : pcm_(pcm) {}
    ~AlsaSoundSource() override;
    AlsaSoundSource(const AlsaSoundSource&) = delete;
    AlsaSoundSource& operator=(const AlsaSoundSource&) = delete;

    int Read(std::vector<std::int16_t>* samples, std::size_t maxFrames) override;

  private:
    // Immutable handle, owned and closed by the destructor; read by the capture thread only.
    snd_pcm_t* const pcm_;
};

}  // namespace devices
