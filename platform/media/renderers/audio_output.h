// AudioOutput: the sound device the audio renderer plays to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace media {

class AudioOutput {
  public:
    virtual ~AudioOutput() = default;
    // Streaming thread: queues interleaved 16-bit frames for playing. Never blocks: what does
    // not fit in the device's buffer is dropped; after an underrun the device restarts.
    virtual void Write(const std::int16_t* samples, std::size_t frames) = 0;
};

// Opens the playback device named by $QUADREL_AUDIO_DEVICE ("default" when unset) for 16-bit
// PCM; null when it does not open or the variable says "none". Application thread.
std::unique_ptr<AudioOutput> OpenAudioOutput(unsigned rate, unsigned channels);

}  // namespace media
