// Device-independent bitmap descriptions with the Windows layouts: the header that precedes the
// pixels of a packed bitmap, and a bitmap in memory handed from one component to another.
#pragma once

#include "platform/base/win_types.h"

inline constexpr DWORD BI_RGB = 0;

// Header of a packed device-independent bitmap. A positive biHeight stores the bottom row first.
struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);

// A bitmap in memory owned by whoever filled it in. bmBits points at the top image row; rows are
// bmWidthBytes apart. bmBitsPixel 24 stores blue, green, red per pixel; 32 adds a fourth byte.
struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};
