// VideoFrame: one picture ready for painting, 32 bits per pixel (blue, green, red, 0xFF in
// memory; 0xFFRRGGBB as a 32-bit value, the layout of QImage::Format_RGB32), top row first,
// rows packed (`width` pixels apart). A renderer hands its pane either the whole video at its own
// size or, `fitted`, the pane's source rectangle already scaled to the size of its destination,
// which the pane then paints without scaling.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/win_types.h"

struct VideoFrame {
    LONG width = 0;
    LONG height = 0;
    std::vector<std::uint32_t> pixels;  // width × height
    bool fitted = false;

    std::uint32_t* Row(LONG y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
    const std::uint32_t* Row(LONG y) const {
        return pixels.data() + static_cast<std::size_t>(y) * width;
    }
    // Grows the buffer when the size changes (not per frame).
    void Resize(LONG w, LONG h) {
        width = w;
        height = h;
        pixels.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    }
};
