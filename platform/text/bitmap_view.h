// Views of caller-owned bitmaps that text is drawn into. The caller keeps the memory; a view is
// valid while it does. Rows are `stride` bytes apart; `bottomUp` stores the last image row first,
// as a device-independent bitmap with a positive height does.
#pragma once

#include <cstddef>

#include "platform/base/win_types.h"

namespace gdi {

// One bit per pixel: pixel x of a row is bit (0x80 >> (x & 7)) of byte x >> 3. A drawn text pixel
// is 0 (the black entry of a monochrome bitmap), the background of the text cell is 1 (white).
struct MonoBitmap {
    BYTE* bits = nullptr;
    LONG width = 0;
    LONG height = 0;
    LONG stride = 0;
    bool bottomUp = false;
};

// Three bytes per pixel in the order blue, green, red.
struct ColorBitmap24 {
    BYTE* bits = nullptr;
    LONG width = 0;
    LONG height = 0;
    LONG stride = 0;
    bool bottomUp = false;
};

// Row sizes of bitmaps as the platform lays them out: rows padded to a multiple of four bytes.
constexpr LONG MonoStride(LONG width) {
    return ((width + 31) >> 3) & ~3;
}
constexpr LONG Color24Stride(LONG width) {
    return (width * 3 + 3) & ~3;
}

// Start of image row y (0 = top) of a bitmap view whose geometry has been checked.
template <class Bitmap>
BYTE* RowOf(const Bitmap& bitmap, LONG y) {
    const LONG stored = bitmap.bottomUp ? bitmap.height - 1 - y : y;
    return bitmap.bits + static_cast<std::ptrdiff_t>(stored) * bitmap.stride;
}

}  // namespace gdi
