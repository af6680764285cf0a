// FrameScaler: a video frame to 32-bit RGB (the layout of VideoFrame) at the size a pane shows it,
// in one pass that reads the source once and writes only the pixels shown. A quarter-size pane
// thus costs a quarter of the conversion, and the pane paints its picture without scaling it.
//
// Threads: one scaler belongs to one caller (the renderer's streaming thread); its buffers grow
// once for a size and are reused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/base/win_types.h"
#include "platform/media/renderers/video_input_format.h"

namespace media {

class FrameScaler {
  public:
    // Part `crop` (inside the frame, not empty) of a frame laid out as `format` says, to a
    // `dstWidth` × `dstHeight` picture with packed rows. UYVY as UyvyToRgb32 below; the RGB
    // layouts are converted at full size first (they are not what cameras deliver).
    void Scale(const VideoInputFormat& format, const BYTE* src, const RECT& crop,
               std::uint32_t* dst, LONG dstWidth, LONG dstHeight);
    // Part `crop` (inside the frame, not empty) of a UYVY frame whose rows are `srcStride` bytes
    // apart, to a `dstWidth` × `dstHeight` picture with packed rows. The pixel pairs are scaled as
    // they are stored (bilinear over the four bytes of a pair), then converted at the picture's
    // size; `crop.left` is taken down to the start of its pair.
    void UyvyToRgb32(const BYTE* src, std::ptrdiff_t srcStride, const RECT& crop,
                     std::uint32_t* dst, LONG dstWidth, LONG dstHeight);
    // Part `crop` of an RGB32 picture with packed rows `srcWidth` pixels long, bilinear.
    void Rgb32ToRgb32(const std::uint32_t* src, LONG srcWidth, const RECT& crop, std::uint32_t* dst,
                      LONG dstWidth, LONG dstHeight) const;

  private:
    // Caller's thread only.
    std::vector<std::uint32_t> pairs_;  // the scaled UYVY pairs, one word a pair
    std::vector<std::uint32_t> full_;   // a frame converted at full size before scaling
};

}  // namespace media
