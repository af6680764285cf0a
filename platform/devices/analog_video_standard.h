// Analogue video standards as the decoder's "TV Format" value (one flag of the standard
// enumeration), and the picture each one gives: 625-line standards 720 x 576 at 25 frames per
// second, 525-line standards 720 x 480 at 30.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>

#include "platform/base/win_types.h"

namespace devices {

// Flag values of the analogue video standard enumeration.
inline constexpr LONG AnalogVideo_None = 0x00000000;
inline constexpr LONG AnalogVideo_NTSC_M = 0x00000001;
inline constexpr LONG AnalogVideo_NTSC_M_J = 0x00000002;
inline constexpr LONG AnalogVideo_NTSC_433 = 0x00000004;
inline constexpr LONG AnalogVideo_PAL_B = 0x00000010;
inline constexpr LONG AnalogVideo_PAL_D = 0x00000020;
inline constexpr LONG AnalogVideo_PAL_G = 0x00000040;
inline constexpr LONG AnalogVideo_PAL_H = 0x00000080;
inline constexpr LONG AnalogVideo_PAL_I = 0x00000100;
inline constexpr LONG AnalogVideo_PAL_M = 0x00000200;
inline constexpr LONG AnalogVideo_PAL_N = 0x00000400;
inline constexpr LONG AnalogVideo_PAL_60 = 0x00000800;
inline constexpr LONG AnalogVideo_SECAM_B = 0x00001000;
inline constexpr LONG AnalogVideo_SECAM_D = 0x00002000;
inline constexpr LONG AnalogVideo_SECAM_G = 0x00004000;
inline constexpr LONG AnalogVideo_SECAM_H = 0x00008000;
inline constexpr LONG AnalogVideo_SECAM_K = 0x00010000;
inline constexpr LONG AnalogVideo_SECAM_K1 = 0x00020000;
inline constexpr LONG AnalogVideo_SECAM_L = 0x00040000;
inline constexpr LONG AnalogVideo_SECAM_L1 = 0x00080000;
inline constexpr LONG AnalogVideo_PAL_N_COMBO = 0x00100000;

inline constexpr LONG AnalogVideoMask_NTSC = 0x00000007;
inline constexpr LONG AnalogVideoMask_PAL = 0x00100FF0;

// The standards the grabber's decoder takes: the NTSC and PAL families. SECAM is not decoded.
inline constexpr LONG kSupportedVideoStandards = AnalogVideoMask_NTSC | AnalogVideoMask_PAL;

// The decoder's standard until told otherwise.
inline constexpr LONG kDefaultVideoStandard = AnalogVideo_PAL_D;

// The picture of one video standard: packed UYVY, two bytes per pixel.
struct VideoFormat {
    int width = 0;
    int height = 0;
    int framesPerSecond = 0;

    std::size_t FrameBytes() const {
        return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 2;
    }
    // Device time of frame `n` counted from a frame clock's start; exact for any rate that does
    // not divide a second evenly (30 frames per second), without drift.
    std::chrono::nanoseconds FrameTime(std::uint64_t n) const {
        return std::chrono::nanoseconds(static_cast<std::int64_t>(n) * 1'000'000'000 /
                                        framesPerSecond);
    }
    // Average frame duration in 100-nanosecond units (400000 at 25, 333333 at 30).
    REFERENCE_TIME AverageTimePerFrame() const { return 10'000'000 / framesPerSecond; }

    friend bool operator==(const VideoFormat&, const VideoFormat&) = default;
};

// The picture of `standard`, which must be exactly one supported flag; nothing otherwise
// (zero, a combination of flags, SECAM, unknown bits).
std::optional<VideoFormat> FormatOfStandard(LONG standard);

}  // namespace devices
