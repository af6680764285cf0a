// The ALSA implementation of PcmOutput: a non-blocking playback handle whose writes wait for room
// only as long as the caller allows.
#include <alsa/asoundlib.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/sound/pcm_output.h"

namespace sound {
namespace {

// 200 ms of buffering keeps the stop prompt, the loop seamless and a live stream's delay short.
constexpr unsigned kLatencyMicroseconds = 200'000;

class AlsaOutput final : public PcmOutput {
  public:
    explicit AlsaOutput(snd_pcm_t* pcm) : pcm_(pcm) {}
    ~AlsaOutput() override { Close(); }
    AlsaOutput(const AlsaOutput&) = delete;
    AlsaOutput& operator=(const AlsaOutput&) = delete;

    bool Open(const PcmFormat& format) override {
        if (!pcm_ || format.FrameBytes() == 0) return false;
        frameBytes_ = format.FrameBytes();
        const snd_pcm_format_t sampleFormat =
            format.bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
        return snd_pcm_set_params(pcm_, sampleFormat, SND_PCM_ACCESS_RW_INTERLEAVED,
                                  format.channels, format.sampleRate, 1, kLatencyMicroseconds) == 0;
    }

    bool Write(std::span<const std::uint8_t> frames, std::chrono::milliseconds maxWait) override {
        if (!pcm_) return false;
        const auto deadline = std::chrono::steady_clock::now() + maxWait;
        const std::uint8_t* data = frames.data();
        snd_pcm_uframes_t left = frames.size() / frameBytes_;
        while (left > 0) {
            snd_pcm_sframes_t n = snd_pcm_writei(pcm_, data, left);
            if (n == -EAGAIN) {
                // The buffer is full: wait for room while the caller allows, else drop the rest.
                const auto remaining = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now());
                if (remaining.count() <= 0) break;
                const int ready = snd_pcm_wait(pcm_, static_cast<int>(remaining.count()));
                if (ready < 0 && snd_pcm_recover(pcm_, ready, 1) < 0) return false;
                continue;
            }
            // An underrun or a suspend: restart the device and write again.
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
    // The thread that writes (Open, Write and Close are not called concurrently).
    snd_pcm_t* pcm_;  // owned; null once closed
    std::size_t frameBytes_ = 1;
};

// ALSA reports a machine without a sound card on stderr; the silent output covers that case.
void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

std::unique_ptr<PcmOutput> OpenAlsaOutput() {
    const char* configured = std::getenv("QUADREL_AUDIO_DEVICE");
    const std::string device = configured && *configured ? configured : "default";
    if (device == "none") return nullptr;
    snd_lib_error_set_handler(IgnoreAlsaError);
    snd_pcm_t* pcm = nullptr;
    if (snd_pcm_open(&pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return nullptr;
    return std::make_unique<AlsaOutput>(pcm);
}

std::unique_ptr<PcmOutput> OpenPcmOutput() {
    if (auto alsa = OpenAlsaOutput()) return alsa;
    return MakeSilentOutput();
}

}  // namespace sound
