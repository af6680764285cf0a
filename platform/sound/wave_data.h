// RIFF WAVE files holding PCM: their format and sample data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace sound {

struct PcmFormat {
    std::uint32_t sampleRate = 0;
    std::uint16_t channels = 0;
    std::uint16_t bitsPerSample = 0;  // 8 (unsigned) or 16 (signed little-endian)

    std::size_t FrameBytes() const { return std::size_t{channels} * (bitsPerSample / 8); }
};

struct WaveData {
    PcmFormat format;
    std::span<const std::uint8_t> samples;  // points into the parsed file
};

// Parses a RIFF WAVE file with a PCM "fmt " chunk and a "data" chunk. Chunks it does not know are
// skipped. False, with a reason in *error, for anything else; never reads past `file`.
bool ParseWave(std::span<const std::uint8_t> file, WaveData* wave, std::string* error);

}  // namespace sound
