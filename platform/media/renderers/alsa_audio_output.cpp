// The ALSA implementation of AudioOutput: a non-blocking playback handle.
#include <alsa/asoundlib.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/media/renderers/audio_output.h"

namespace media {
namespace {

constexpr unsigned kLatencyMicroseconds = 200'000;

class AlsaAudioOutput final : public AudioOutput {
  public:
    explicit AlsaAudioOutput(snd_pcm_t* pcm) : pcm_(pcm) {}
    ~AlsaAudioOutput() override { snd_pcm_close(pcm_); }
    AlsaAudioOutput(const AlsaAudioOutput&) = delete;
    AlsaAudioOutput& operator=(const AlsaAudioOutput&) = delete;

    void Write(const std::int16_t* samples, std::size_t frames) override {
        snd_pcm_sframes_t written = snd_pcm_writei(pcm_, samples, frames);
        if (written == -EPIPE || written == -ESTRPIPE) {
            if (snd_pcm_recover(pcm_, static_cast<int>(written), 1) == 0)
                snd_pcm_writei(pcm_, samples, frames);
        }
        // -EAGAIN (buffer full) and short writes drop the rest: the stream is live.
    }

  private:
    snd_pcm_t* const pcm_;  // owned
};

// ALSA reports a machine without a sound card on stderr; the silent renderer covers that case.
void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

std::unique_ptr<AudioOutput> OpenAudioOutput(unsigned rate, unsigned channels) {
    const char* configured = std::getenv("QUADREL_AUDIO_DEVICE");
    const std::string device = configured && *configured ? configured : "default";
    if (device == "none") return nullptr;
    snd_lib_error_set_handler(IgnoreAlsaError);
    snd_pcm_t* pcm = nullptr;
    if (snd_pcm_open(&pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return nullptr;
    if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, channels,
                           rate, 1, kLatencyMicroseconds) < 0) {
        snd_pcm_close(pcm);
        return nullptr;
    }
    return std::make_unique<AlsaAudioOutput>(pcm);
}

}  // namespace media
