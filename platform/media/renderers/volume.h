// Volume and balance of the audio renderer in hundredths of a decibel, applied as fixed-point
// gains to 16-bit samples.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/base/win_types.h"

namespace media {

inline constexpr LONG kVolumeSilent = -10000;
inline constexpr LONG kVolumeFull = 0;

// Gain in 1/65536 units for an attenuation of -volume/100 dB: 65536 at 0, 0 at -10000 and
// below (silence, as the volume range defines it).
std::int32_t GainOf(LONG volume);

// Per-channel gains of `volume` and `balance` (-10000 left only .. 10000 right only: the other
// channel is attenuated by |balance|/100 dB).
void StereoGains(LONG volume, LONG balance, std::int32_t* left, std::int32_t* right);

// out[i] = in[i] × gain of its channel, saturated. `frames` frames of `channels` samples;
// channels beyond the second take the left gain.
void ApplyGains(const std::int16_t* in, std::int16_t* out, std::size_t frames, unsigned channels,
                std::int32_t left, std::int32_t right);

}  // namespace media
