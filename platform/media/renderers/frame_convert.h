// Conversion of video frames to the 32-bit layout of VideoFrame (0xFFRRGGBB, top row first).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/base/win_types.h"
#include "platform/media/renderers/video_input_format.h"

namespace media {

// UYVY (U, Y0, V, Y1 per pair of pixels; ITU-R BT.601 studio range) to RGB32, by libyuv with
// the widest vector unit the processor has. `src` rows are `srcStride` bytes apart and hold
// (width + 1) / 2 pairs; `dst` rows are packed.
void UyvyToRgb32(const BYTE* src, std::ptrdiff_t srcStride, std::uint32_t* dst, LONG width,
                 LONG height);

// Blue, green, red (and a fourth byte for 32 bits) per pixel; `bottomUp` when the last image
// row comes first in memory (a device-independent bitmap with a positive height).
void Rgb24ToRgb32(const BYTE* src, std::ptrdiff_t srcStride, bool bottomUp, std::uint32_t* dst,
                  LONG width, LONG height);
void Rgb32ToRgb32(const BYTE* src, std::ptrdiff_t srcStride, bool bottomUp, std::uint32_t* dst,
                  LONG width, LONG height);

// A whole frame laid out as `format` says to `dst` (format.width × format.height, packed rows).
void ConvertFrame(const VideoInputFormat& format, const BYTE* src, std::uint32_t* dst);

}  // namespace media
