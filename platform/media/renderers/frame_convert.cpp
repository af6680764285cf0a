#include "platform/media/renderers/frame_convert.h"

#include <libyuv/convert_argb.h>

#include <bit>
#include <cstring>

namespace media {

// libyuv's ARGB is blue, green, red, alpha in memory: 0xAARRGGBB as a 32-bit word on this
// processor, the layout of VideoFrame.
static_assert(std::endian::native == std::endian::little);

void UyvyToRgb32(const BYTE* src, std::ptrdiff_t srcStride, std::uint32_t* dst, LONG width,
                 LONG height) {
    if (width <= 0 || height <= 0) return;
    libyuv::UYVYToARGB(src, static_cast<int>(srcStride), reinterpret_cast<std::uint8_t*>(dst),
                       static_cast<int>(width) * 4, static_cast<int>(width),
                       static_cast<int>(height));
}

void Rgb24ToRgb32(const BYTE* src, std::ptrdiff_t srcStride, bool bottomUp, std::uint32_t* dst,
                  LONG width, LONG height) {
    for (LONG y = 0; y < height; ++y) {
        const BYTE* row = src + (bottomUp ? height - 1 - y : y) * srcStride;
        std::uint32_t* out = dst + static_cast<std::ptrdiff_t>(y) * width;
        for (LONG x = 0; x < width; ++x, row += 3)
            out[x] =
                0xFF000000u | (std::uint32_t{row[2]} << 16) | (std::uint32_t{row[1]} << 8) | row[0];
    }
}

void Rgb32ToRgb32(const BYTE* src, std::ptrdiff_t srcStride, bool bottomUp, std::uint32_t* dst,
                  LONG width, LONG height) {
    for (LONG y = 0; y < height; ++y) {
        const BYTE* row = src + (bottomUp ? height - 1 - y : y) * srcStride;
        std::uint32_t* out = dst + static_cast<std::ptrdiff_t>(y) * width;
        std::memcpy(out, row, static_cast<std::size_t>(width) * 4);
        for (LONG x = 0; x < width; ++x) out[x] |= 0xFF000000u;
    }
}

void ConvertFrame(const VideoInputFormat& format, const BYTE* src, std::uint32_t* dst) {
    switch (format.layout) {
        case PixelLayout::Uyvy:
            UyvyToRgb32(src, format.stride, dst, format.width, format.height);
            break;
        case PixelLayout::Rgb24:
            Rgb24ToRgb32(src, format.stride, format.bottomUp, dst, format.width, format.height);
            break;
        case PixelLayout::Rgb32:
            Rgb32ToRgb32(src, format.stride, format.bottomUp, dst, format.width, format.height);
            break;
        case PixelLayout::None:
            break;
    }
}

}  // namespace media
