// A plain model of merging a text bitmap into a frame, pixel by pixel, for checking the
// controller's blend: every text pixel (0 bit) that falls on a frame pixel changes that pixel's
// bytes, nothing else changes, and no byte past the frame's end is written.
#pragma once

#include <cstddef>
#include <vector>

#include "overlay/pixel_format.h"
#include "platform/base/win_types.h"

struct FrameLayout {
    int format = 0;
    LONG width = 0;
    LONG height = 0;  // rows; bottomUp for RGB frames with a positive header height
    LONG stride = 0;
    bool bottomUp = false;
};

struct TextBitmap {
    LONG cx = 0;
    LONG cy = 0;
    int stride = 0;
    std::vector<BYTE> bits;  // bottom-up rows
    bool Ink(LONG x, LONG y) const {
        const BYTE b = bits[static_cast<std::size_t>(cy - 1 - y) * stride + (x >> 3)];
        return (b & (0x80 >> (x & 7))) == 0;
    }
};

inline int BytesPerPixel(int format) {
    switch (format) {
        case kPixelFormatRGB8:
            return 1;
        case kPixelFormatRGB24:
            return 3;
        case kPixelFormatRGB32:
            return 4;
        default:
            return 2;
    }
}

// The bytes Cover writes for the controller's text colour (0, 128, 0).
inline std::vector<BYTE> CoverBytes(int format) {
    switch (format) {
        case kPixelFormatRGB8:
            return {10};
        case kPixelFormatRGB555:
            return {0x00, 0x02};
        case kPixelFormatRGB565:
            return {0x00, 0x04};
        case kPixelFormatRGB24:
            return {0, 128, 0};
        case kPixelFormatRGB32:
            return {0, 128, 0, 0};
        default:
            return {0x7F, 0xEA, 0x7F};
    }
}

inline void ReferenceBlend(std::vector<BYTE>& frame, const FrameLayout& layout,
                           const TextBitmap& text, POINT at, bool cover) {
    const int bpp = BytesPerPixel(layout.format);
    const std::vector<BYTE> paint = CoverBytes(layout.format);
    for (LONG ty = 0; ty < text.cy; ++ty) {
        for (LONG tx = 0; tx < text.cx; ++tx) {
            const long long fx = static_cast<long long>(at.x) + tx;
            const long long fy = static_cast<long long>(at.y) + ty;
            if (!text.Ink(tx, ty) || fx < 0 || fy < 0 || fx >= layout.width ||
                fy >= layout.height) {
                continue;
            }
            const long long row = layout.bottomUp ? layout.height - 1 - fy : fy;
            const std::size_t at0 = static_cast<std::size_t>(row * layout.stride + fx * bpp);
            if (cover) {
                for (std::size_t k = 0; k < paint.size() && at0 + k < frame.size(); ++k) {
                    frame[at0 + k] = paint[k];
                }
            } else {
                for (int k = 0; k < bpp; ++k) frame[at0 + k] = static_cast<BYTE>(~frame[at0 + k]);
            }
        }
    }
}
