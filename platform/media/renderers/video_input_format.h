// VideoInputFormat: how the frames of a video renderer's input are laid out in memory, as agreed
// when the pin connected.
#pragma once

#include "platform/base/win_types.h"

namespace media {

enum class PixelLayout { None, Uyvy, Rgb24, Rgb32 };

struct VideoInputFormat {
    PixelLayout layout = PixelLayout::None;
    LONG width = 0;
    LONG height = 0;
    LONG stride = 0;        // bytes from one stored row to the next
    bool bottomUp = false;  // the last image row is stored first (RGB with a positive height)

    // Bytes of one row's pixels, and the bytes a whole frame needs (the last row unpadded).
    LONG RowBytes() const {
        return layout == PixelLayout::Uyvy    ? (width + 1) / 2 * 4
               : layout == PixelLayout::Rgb24 ? width * 3
                                              : width * 4;
    }
    long long FrameBytes() const {
        return static_cast<long long>(stride) * (height - 1) + RowBytes();
    }
};

}  // namespace media
