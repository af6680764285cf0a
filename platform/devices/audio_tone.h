// The simulated grabber's sound on "Audio PCM Out": 16-bit PCM, 48 kHz, stereo. It is quiet: a
// short 1 kHz pip at -30 dBFS during the first 50 ms of every second of device time, silence
// otherwise, so that the audio path can be heard and checked without being a nuisance.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace devices {

class AudioTone {
  public:
    static constexpr int kSampleRate = 48000;
    static constexpr int kChannels = 2;
    static constexpr int kBitsPerSample = 16;
    static constexpr int kPipHz = 1000;
    static constexpr int kPipSamples = kSampleRate / 20;  // 50 ms
    static constexpr int kPipAmplitude = 1036;            // -30 dBFS
    static constexpr int kBlockAlign = kChannels * kBitsPerSample / 8;

    AudioTone();

    // Fills `interleaved` (left, right, left, ...; an odd last value is left alone) with the
    // sound from sample frame `first` on, counted from device time 0. No allocation.
    void Fill(std::uint64_t first, std::span<std::int16_t> interleaved) const;

  private:
    static constexpr int kCycle = kSampleRate / kPipHz;  // samples per cycle of the pip
    // Immutable after construction.
    std::array<std::int16_t, kCycle> cycle_;
};

}  // namespace devices
