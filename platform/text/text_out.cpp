#include "platform/text/text_out.h"

#include <algorithm>

namespace gdi {
namespace {

// A rectangle of pixels, right and bottom exclusive.
struct Box {
    LONG left, top, right, bottom;
    bool Empty() const { return left >= right || top >= bottom; }
};

Box Intersect(const Box& a, const Box& b) {
    return Box{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
               std::min(a.bottom, b.bottom)};
}

// The box [x, x + w) x [y, y + h) with the far edges saturated, so huge texts cannot wrap around.
Box BoxAt(LONG x, LONG y, LONG w, LONG h) {
    const auto far = [](LONG from, LONG extent) {
        const long long end = static_cast<long long>(from) + extent;
        return static_cast<LONG>(std::min<long long>(end, 0x7FFFFFFF));
    };
    return Box{x, y, far(x, w), far(y, h)};
}

// Visits the pixels of the text at `origin` that `visit(x, y, coverage)` should paint: glyph
// pixels with non-zero coverage and the underline and strike-out lines (full coverage), all inside
// `clip`.
template <class Paint>
void PaintText(const Font& font, POINT origin, const WCHAR* text, int count, GlyphMode mode,
               const Box& clip, LONG cellWidth, Paint&& paint) {
    const TextMetrics& metrics = font.Metrics();
    const long long baseline = static_cast<long long>(origin.y) + metrics.tmAscent;
    font.ForEachGlyph(text, count, mode, [&](const Glyph& glyph, LONG penX) {
        const long long gx = static_cast<long long>(origin.x) + penX + glyph.left;
        const long long gy = baseline - glyph.top;
        // Only the rows and columns of the glyph that fall inside the clip box.
        const long long c0 = std::max<long long>(0, clip.left - gx);
        const long long c1 = std::min<long long>(glyph.width, clip.right - gx);
        const long long r0 = std::max<long long>(0, clip.top - gy);
        const long long r1 = std::min<long long>(glyph.rows, clip.bottom - gy);
        for (long long r = r0; r < r1; ++r) {
            const BYTE* row = glyph.coverage.data() + r * glyph.width;
            for (long long c = c0; c < c1; ++c) {
                if (row[c] != 0) {
                    paint(static_cast<LONG>(gx + c), static_cast<LONG>(gy + r), row[c]);
                }
            }
        }
    });
    const DecorationLines& lines = font.Decorations();
    const auto line = [&](bool on, LONG offset, LONG thickness) {
        if (!on) return;
        const Box bar = Intersect(
            BoxAt(origin.x, static_cast<LONG>(baseline + offset), cellWidth, thickness), clip);
        for (LONG y = bar.top; y < bar.bottom; ++y) {
            for (LONG x = bar.left; x < bar.right; ++x) paint(x, y, BYTE{255});
        }
    };
    line(metrics.tmUnderlined != 0, lines.underlineOffset, lines.underlineThickness);
    line(metrics.tmStruckOut != 0, lines.strikeoutOffset, lines.strikeoutThickness);
}

}  // namespace

bool IsDrawable(const MonoBitmap& bitmap) {
    return bitmap.bits != nullptr && bitmap.width > 0 && bitmap.height > 0 &&
           bitmap.stride >= (static_cast<long long>(bitmap.width) + 7) / 8;
}

bool IsDrawable(const ColorBitmap24& bitmap) {
    return bitmap.bits != nullptr && bitmap.width > 0 && bitmap.height > 0 &&
           bitmap.stride >= static_cast<long long>(bitmap.width) * 3;
}

bool TextOutMono(const Font& font, POINT origin, const WCHAR* text, int count,
                 const MonoBitmap& target) {
    if (!IsDrawable(target)) return false;
    const Box bounds{0, 0, target.width, target.height};
    const SIZE extent = font.GetTextExtent(text, count);
    const Box cell = Intersect(BoxAt(origin.x, origin.y, extent.cx, extent.cy), bounds);
    for (LONG y = cell.top; y < cell.bottom; ++y) {
        BYTE* row = RowOf(target, y);
        for (LONG x = cell.left; x < cell.right; ++x) row[x >> 3] |= BYTE(0x80 >> (x & 7));
    }
    PaintText(
        font, origin, text, count, GlyphMode::Mono, bounds, extent.cx,
        [&target](LONG x, LONG y, BYTE) { RowOf(target, y)[x >> 3] &= BYTE(~(0x80 >> (x & 7))); });
    return true;
}

bool TextOut24(const Font& font, POINT origin, const WCHAR* text, int count,
               const TextColors& colors, const RECT* clip, const ColorBitmap24& target) {
    if (!IsDrawable(target)) return false;
    Box bounds{0, 0, target.width, target.height};
    if (clip != nullptr) {
        bounds = Intersect(bounds, Box{clip->left, clip->top, clip->right, clip->bottom});
    }
    if (bounds.Empty()) return true;
    const SIZE extent = font.GetTextExtent(text, count);
    const BYTE fore[3] = {GetBValue(colors.text), GetGValue(colors.text), GetRValue(colors.text)};
    if (colors.opaque) {
        const BYTE back[3] = {GetBValue(colors.background), GetGValue(colors.background),
                              GetRValue(colors.background)};
        const Box cell = Intersect(BoxAt(origin.x, origin.y, extent.cx, extent.cy), bounds);
        for (LONG y = cell.top; y < cell.bottom; ++y) {
            BYTE* p = RowOf(target, y) + static_cast<std::ptrdiff_t>(cell.left) * 3;
            for (LONG x = cell.left; x < cell.right; ++x, p += 3) std::copy(back, back + 3, p);
        }
    }
    const GlyphMode mode =
        font.LogFont().lfQuality == NONANTIALIASED_QUALITY ? GlyphMode::Mono : GlyphMode::Gray;
    PaintText(font, origin, text, count, mode, bounds, extent.cx,
              [&](LONG x, LONG y, BYTE coverage) {
                  BYTE* p = RowOf(target, y) + static_cast<std::ptrdiff_t>(x) * 3;
                  for (int k = 0; k < 3; ++k) {
                      p[k] = static_cast<BYTE>(p[k] + (fore[k] - p[k]) * coverage / 255);
                  }
              });
    return true;
}

bool DrawText24(const Font& font, const WCHAR* text, int count, const RECT& rect, UINT format,
                const TextColors& colors, const ColorBitmap24& target) {
    if (!IsDrawable(target)) return false;
    if (text != nullptr && count < 0) {
        count = 0;
        while (text[count] != 0 && count < 0x7FFFFFFF) ++count;
    }
    const SIZE extent = font.GetTextExtent(text, count);
    const auto place = [](LONG near, LONG far, LONG size, bool atFar, bool centred) {
        long long at = near;
        if (atFar) {
            at = static_cast<long long>(far) - size;
        } else if (centred) {
            at = (static_cast<long long>(near) + far - size) / 2;
        }
        return static_cast<LONG>(std::clamp<long long>(at, -0x7FFFFFFF, 0x7FFFFFFF));
    };
    const POINT origin{place(rect.left, rect.right, extent.cx, (format & DT_RIGHT) != 0,
                             (format & DT_CENTER) != 0),
                       place(rect.top, rect.bottom, extent.cy, (format & DT_BOTTOM) != 0,
                             (format & DT_VCENTER) != 0)};
    return TextOut24(font, origin, text, count, colors, (format & DT_NOCLIP) != 0 ? nullptr : &rect,
                     target);
}

}  // namespace gdi
