#include <alsa/asoundlib.h>

#include "platform/sound/pcm_output.h"

namespace sound {
namespace {

class AlsaOutput final : public PcmOutput {
  public:
    explicit AlsaOutput(snd_pcm_t* pcm) : pcm_(pcm) {}
    ~AlsaOutput() override { Close(); }

    bool Open(const PcmFormat& format) override {
        frameBytes_ = format.FrameBytes();
        const snd_pcm_format_t sampleFormat =
            format.bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
        // 200 ms of buffering keeps the stop prompt and the loop seamless.
        return snd_pcm_set_params(pcm_, sampleFormat, SND_PCM_ACCESS_RW_INTERLEAVED,
                                  format.channels, format.sampleRate, 1, 200000) == 0;
    }

    bool Write(std::span<const std::uint8_t> frames) override {
        const std::uint8_t* data = frames.data();
        snd_pcm_uframes_t left = frames.size() / frameBytes_;
        while (left > 0) {
            snd_pcm_sframes_t n = snd_pcm_writei(pcm_, data, left);
            if (n < 0) n = snd_pcm_recover(pcm_, static_cast<int>(n), 1);
            if (n < 0) return false;
            data += static_cast<std::size_t>(n) * frameBytes_;
            left -= static_cast<snd_pcm_uframes_t>(n);
        }
        return true;
    }

    void Close() override {
        if (pcm_) {
            snd_pcm_drop(pcm_);
            snd_pcm_close(pcm_);
            pcm_ = nullptr;
        }
    }

  private:
    snd_pcm_t* pcm_;
    std::size_t frameBytes_ = 1;
};

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

std::unique_ptr<PcmOutput> OpenAlsaOutput() {
    snd_pcm_t* pcm = nullptr;
    // Quiet ALSA's own complaints on machines without a sound card.
    snd_lib_error_set_handler(IgnoreAlsaError);
    if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, 0) != 0) return nullptr;
    return std::make_unique<AlsaOutput>(pcm);
}

}  // namespace sound
