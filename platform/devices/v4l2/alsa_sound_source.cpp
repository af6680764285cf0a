#include "platform/devices/v4l2/alsa_sound_source.h"

#include <alsa/asoundlib.h>

#include <cerrno>

namespace devices {
namespace {

constexpr unsigned kRate = 48000;
constexpr unsigned kChannels = 2;
constexpr unsigned kLatencyMicroseconds = 200'000;

}  // namespace

std::unique_ptr<AlsaSoundSource> AlsaSoundSource::Open(const std::string& device, int* error) {
    snd_pcm_t* pcm = nullptr;
    int r = snd_pcm_open(&pcm, device.c_str(), SND_PCM_STREAM_CAPTURE, SND_PCM_NONBLOCK);
    if (r < 0) {
        if (error) *error = -r;
        return nullptr;
    }
    auto source = std::make_unique<AlsaSoundSource>(pcm, Opened{});
    r = snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, kChannels,
                           kRate, 1, kLatencyMicroseconds);
    if (r >= 0) r = snd_pcm_start(pcm);
    if (r < 0) {
        if (error) *error = -r;
        return nullptr;
    }
    return source;
}

AlsaSoundSource::~AlsaSoundSource() {
    snd_pcm_close(pcm_);
}

int AlsaSoundSource::Read(std::vector<std::int16_t>* samples, std::size_t maxFrames) {
    const std::size_t start = samples->size();
    samples->resize(start + maxFrames * kChannels);
    snd_pcm_sframes_t got =
        snd_pcm_readi(pcm_, samples->data() + start, static_cast<snd_pcm_uframes_t>(maxFrames));
    if (got == -EPIPE || got == -ESTRPIPE) {
        // Overrun (or a suspend): start again; this period is silence.
        snd_pcm_prepare(pcm_);
        snd_pcm_start(pcm_);
        got = 0;
    }
    if (got == -EAGAIN) got = 0;
    if (got < 0) {
        samples->resize(start);
        return static_cast<int>(-got);
    }
    samples->resize(start + static_cast<std::size_t>(got) * kChannels);
    return 0;
}

}  // namespace devices
