// Drawing text into bitmaps, as ExtTextOutW and DrawTextW draw into a memory device context that
// holds a monochrome or a 24-bit bitmap. The text's cell has its top-left corner at the given
// origin; characters stand on the font's baseline, tmAscent rows below the cell's top.
#pragma once

#include "platform/text/bitmap_view.h"
#include "platform/text/colorref.h"
#include "platform/text/font.h"

namespace gdi {

// Text and background colours of a context, and whether the background mode is opaque (the text
// cell is filled with the background colour before the text is drawn).
struct TextColors {
    COLORREF text = RGB(0, 0, 0);
    COLORREF background = RGB(255, 255, 255);
    bool opaque = true;
};

// DrawTextW format flags understood here (one line of text).
inline constexpr UINT DT_TOP = 0x0000;
inline constexpr UINT DT_LEFT = 0x0000;
inline constexpr UINT DT_CENTER = 0x0001;
inline constexpr UINT DT_RIGHT = 0x0002;
inline constexpr UINT DT_VCENTER = 0x0004;
inline constexpr UINT DT_BOTTOM = 0x0008;
inline constexpr UINT DT_SINGLELINE = 0x0020;
inline constexpr UINT DT_NOCLIP = 0x0100;

// Whether a view describes memory that can be drawn into: bits present, positive size, rows long
// enough for the width.
bool IsDrawable(const MonoBitmap& bitmap);
bool IsDrawable(const ColorBitmap24& bitmap);

// The first `count` units of `text` into a monochrome bitmap with a context's default colours:
// the text cell becomes background (bits 1) and the text pixels become 0, hard-edged. Pixels
// outside the bitmap are not touched. False when the bitmap is not drawable.
bool TextOutMono(const Font& font, POINT origin, const WCHAR* text, int count,
                 const MonoBitmap& target);

// The first `count` units of `text` into a 24-bit bitmap, clipped to `clip` (null: no clip
// rectangle) and to the bitmap. Glyph edges are antialiased against what lies under them unless
// the font asks for NONANTIALIASED_QUALITY. False when the bitmap is not drawable.
bool TextOut24(const Font& font, POINT origin, const WCHAR* text, int count,
               const TextColors& colors, const RECT* clip, const ColorBitmap24& target);

// DrawTextW for one line: places the text in `rect` by the DT_ flags (left/centre/right,
// top/middle/bottom) and clips it to `rect` unless DT_NOCLIP. A count of -1 draws up to the
// text's NUL. False when the bitmap is not drawable.
bool DrawText24(const Font& font, const WCHAR* text, int count, const RECT& rect, UINT format,
                const TextColors& colors, const ColorBitmap24& target);

}  // namespace gdi
