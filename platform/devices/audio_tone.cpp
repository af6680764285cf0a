#include "platform/devices/audio_tone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace devices {
namespace {

constexpr int kFadeSamples = AudioTone::kSampleRate / 200;  // 5 ms in and out, no clicks

}  // namespace

AudioTone::AudioTone() {
    for (int i = 0; i < kCycle; ++i)
        cycle_[i] = static_cast<std::int16_t>(
            std::lround(kPipAmplitude * std::sin(2 * std::numbers::pi * i / kCycle)));
}

void AudioTone::Fill(std::uint64_t first, std::span<std::int16_t> interleaved) const {
    const std::size_t frames = interleaved.size() / kChannels;
    for (std::size_t i = 0; i < frames; ++i) {
        const std::uint64_t n = first + i;
        const int inSecond = static_cast<int>(n % kSampleRate);
        std::int16_t value = 0;
        if (inSecond < kPipSamples) {
            const int fade = std::min({inSecond, kPipSamples - 1 - inSecond, kFadeSamples});
            value = static_cast<std::int16_t>(cycle_[inSecond % kCycle] * fade / kFadeSamples);
        }
        interleaved[i * kChannels] = value;
        interleaved[i * kChannels + 1] = value;
    }
}

}  // namespace devices
