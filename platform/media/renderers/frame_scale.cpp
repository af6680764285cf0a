#include "platform/media/renderers/frame_scale.h"

#include <libyuv/convert_argb.h>
#include <libyuv/scale_argb.h>

#include "platform/media/renderers/frame_convert.h"

namespace media {

void FrameScaler::UyvyToRgb32(const BYTE* src, std::ptrdiff_t srcStride, const RECT& crop,
                              std::uint32_t* dst, LONG dstWidth, LONG dstHeight) {
    if (dstWidth <= 0 || dstHeight <= 0) return;
    const LONG left = crop.left & ~1L;
    const LONG srcPairs = (crop.right - left + 1) / 2;
    const LONG srcHeight = crop.bottom - crop.top;
    if (srcPairs <= 0 || srcHeight <= 0) return;
    // A pair of four bytes scales like one 32-bit pixel: U and V blend as the pair's colour, each
    // of the two lumas with the same luma of the neighbouring pairs.
    const LONG dstPairs = (dstWidth + 1) / 2;
    pairs_.resize(static_cast<std::size_t>(dstPairs) * static_cast<std::size_t>(dstHeight));
    auto* pairs = reinterpret_cast<std::uint8_t*>(pairs_.data());
    const BYTE* origin = src + crop.top * srcStride + left * 2;
    libyuv::ARGBScale(origin, static_cast<int>(srcStride), static_cast<int>(srcPairs),
                      static_cast<int>(srcHeight), pairs, static_cast<int>(dstPairs) * 4,
                      static_cast<int>(dstPairs), static_cast<int>(dstHeight),
                      libyuv::kFilterBilinear);
    libyuv::UYVYToARGB(pairs, static_cast<int>(dstPairs) * 4, reinterpret_cast<std::uint8_t*>(dst),
                       static_cast<int>(dstWidth) * 4, static_cast<int>(dstWidth),
                       static_cast<int>(dstHeight));
}

void FrameScaler::Rgb32ToRgb32(const std::uint32_t* src, LONG srcWidth, const RECT& crop,
                               std::uint32_t* dst, LONG dstWidth, LONG dstHeight) const {
    if (dstWidth <= 0 || dstHeight <= 0) return;
    const LONG width = crop.right - crop.left;
    const LONG height = crop.bottom - crop.top;
    if (width <= 0 || height <= 0) return;
    const std::uint32_t* origin =
        src + static_cast<std::ptrdiff_t>(crop.top) * srcWidth + crop.left;
    libyuv::ARGBScale(reinterpret_cast<const std::uint8_t*>(origin), static_cast<int>(srcWidth) * 4,
                      static_cast<int>(width), static_cast<int>(height),
                      reinterpret_cast<std::uint8_t*>(dst), static_cast<int>(dstWidth) * 4,
                      static_cast<int>(dstWidth), static_cast<int>(dstHeight),
                      libyuv::kFilterBilinear);
}

void FrameScaler::Scale(const VideoInputFormat& format, const BYTE* src, const RECT& crop,
                        std::uint32_t* dst, LONG dstWidth, LONG dstHeight) {
    if (format.layout == PixelLayout::Uyvy) {
        UyvyToRgb32(src, format.stride, crop, dst, dstWidth, dstHeight);
        return;
    }
    full_.resize(static_cast<std::size_t>(format.width) * static_cast<std::size_t>(format.height));
    ConvertFrame(format, src, full_.data());
    Rgb32ToRgb32(full_.data(), format.width, crop, dst, dstWidth, dstHeight);
}

}  // namespace media
