// Codes of the frame pixel formats the overlay draws into; the filter maps its input's media
// subtype to one of them and the controller creates the matching pixel class.
#pragma once

inline constexpr int kPixelFormatNone = 0;
inline constexpr int kPixelFormatRGB8 = 1;
inline constexpr int kPixelFormatRGB555 = 2;
inline constexpr int kPixelFormatRGB565 = 3;
inline constexpr int kPixelFormatRGB24 = 4;
inline constexpr int kPixelFormatRGB32 = 5;
inline constexpr int kPixelFormatUYVY = 6;

// RGB frames with a positive height store their bottom row first; YUV frames are always top-down.
constexpr bool IsRgbPixelFormat(int code) {
    return code >= kPixelFormatRGB8 && code <= kPixelFormatRGB32;
}
