#include "platform/sound/wave_data.h"

namespace sound {
namespace {

std::uint32_t Read32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}
std::uint16_t Read16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

}  // namespace

bool ParseWave(std::span<const std::uint8_t> file, WaveData* wave, std::string* error) {
    if (file.size() < 12 || std::string(file.begin(), file.begin() + 4) != "RIFF" ||
        std::string(file.begin() + 8, file.begin() + 12) != "WAVE") {
        *error = "not a RIFF WAVE file";
        return false;
    }
    bool haveFormat = false;
    std::size_t pos = 12;
    while (pos + 8 <= file.size()) {
        const std::string id(file.begin() + pos, file.begin() + pos + 4);
        const std::uint32_t size = Read32(file.data() + pos + 4);
        const std::size_t body = pos + 8;
        if (size > file.size() - body) {
            *error = "chunk \"" + id + "\" runs past the end of the file";
            return false;
        }
        if (id == "fmt ") {
            if (size < 16 || Read16(file.data() + body) != 1) {
                *error = "the sound is not plain PCM";
                return false;
            }
            wave->format.channels = Read16(file.data() + body + 2);
            wave->format.sampleRate = Read32(file.data() + body + 4);
            wave->format.bitsPerSample = Read16(file.data() + body + 14);
            const PcmFormat& f = wave->format;
            if (f.channels < 1 || f.channels > 2 || f.sampleRate < 1000 || f.sampleRate > 192000 ||
                (f.bitsPerSample != 8 && f.bitsPerSample != 16)) {
                *error = "unsupported PCM format";
                return false;
            }
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat) {
                *error = "\"data\" comes before \"fmt \"";
                return false;
            }
            const std::size_t whole = size - size % wave->format.FrameBytes();
            wave->samples = file.subspan(body, whole);
            return true;
        }
        pos = body + size + (size & 1);  // chunks are padded to even sizes
    }
    *error = "no \"data\" chunk";
    return false;
}

}  // namespace sound
