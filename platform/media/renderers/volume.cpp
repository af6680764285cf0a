#include "platform/media/renderers/volume.h"

#include <algorithm>
#include <cmath>

namespace media {

std::int32_t GainOf(LONG volume) {
    if (volume <= kVolumeSilent) return 0;
    if (volume >= kVolumeFull) return 65536;
    return static_cast<std::int32_t>(std::lround(65536.0 * std::pow(10.0, volume / 2000.0)));
}

void StereoGains(LONG volume, LONG balance, std::int32_t* left, std::int32_t* right) {
    const std::int32_t gain = GainOf(volume);
    const auto scaled = [gain](LONG attenuation) {
        return static_cast<std::int32_t>((static_cast<std::int64_t>(gain) * GainOf(attenuation)) >>
                                         16);
    };
    *left = balance > 0 ? scaled(-balance) : gain;
    *right = balance < 0 ? scaled(balance) : gain;
}

void ApplyGains(const std::int16_t* in, std::int16_t* out, std::size_t frames, unsigned channels,
                std::int32_t left, std::int32_t right) {
    for (std::size_t f = 0; f < frames; ++f) {
        for (unsigned c = 0; c < channels; ++c) {
            const std::int32_t gain = c == 1 ? right : left;
            const std::int64_t value = (static_cast<std::int64_t>(in[c]) * gain) >> 16;
            out[c] = static_cast<std::int16_t>(std::clamp<std::int64_t>(value, -32768, 32767));
        }
        in += channels;
        out += channels;
    }
}

}  // namespace media
