#include "platform/media/renderers/frame_convert.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace media {
namespace {

// Fixed-point BT.601: luma × 1.164 as (Y - 16) × 128 × 38142 / 65536 (6 fraction bits), chroma
// factors × 64. Every step is a saturating 16-bit operation, in the scalar code as in SSE2.
constexpr int kLuma = 38142;
constexpr int kRv = 102;  // 1.596
constexpr int kGv = 52;   // 0.813
constexpr int kGu = 25;   // 0.391
constexpr int kBu = 129;  // 2.018

constexpr int Sat16(int v) {
    return std::clamp(v, -32768, 32767);
}
constexpr std::uint32_t Clamp8(int v) {
    return static_cast<std::uint32_t>(std::clamp(v, 0, 255));
}

inline std::uint32_t Pixel(int y, int u, int v) {
    const int r = Sat16(Sat16(y + Sat16(v * kRv)) + 32) >> 6;
    const int g = Sat16(Sat16(Sat16(y - Sat16(v * kGv)) - Sat16(u * kGu)) + 32) >> 6;
    const int b = Sat16(Sat16(y + Sat16(u * kBu)) + 32) >> 6;
    return 0xFF000000u | (Clamp8(r) << 16) | (Clamp8(g) << 8) | Clamp8(b);
}

inline int Luma(int y) {
    return (std::max(y - 16, 0) * 128 * kLuma) >> 16;
}

void UyvyRowScalar(const BYTE* src, std::uint32_t* dst, LONG from, LONG width) {
    for (LONG x = from; x < width; x += 2) {
        const BYTE* pair = src + x * 2;
        const int u = pair[0] - 128;
        const int v = pair[2] - 128;
        dst[x] = Pixel(Luma(pair[1]), u, v);
        if (x + 1 < width) dst[x + 1] = Pixel(Luma(pair[3]), u, v);
    }
}

#if defined(__SSE2__)
// Eight pixels (four pairs) to R, G, B as 16-bit lanes.
inline void UyvyEight(__m128i px, __m128i* r, __m128i* g, __m128i* b) {
    const __m128i lowBytes = _mm_set1_epi16(0x00FF);
    __m128i y = _mm_srli_epi16(px, 8);
    const __m128i uv = _mm_and_si128(px, lowBytes);
    __m128i u = _mm_shufflehi_epi16(_mm_shufflelo_epi16(uv, _MM_SHUFFLE(2, 2, 0, 0)),
                                    _MM_SHUFFLE(2, 2, 0, 0));
    __m128i v = _mm_shufflehi_epi16(_mm_shufflelo_epi16(uv, _MM_SHUFFLE(3, 3, 1, 1)),
                                    _MM_SHUFFLE(3, 3, 1, 1));
    const __m128i bias = _mm_set1_epi16(128);
    u = _mm_sub_epi16(u, bias);
    v = _mm_sub_epi16(v, bias);
    y = _mm_mulhi_epu16(_mm_slli_epi16(_mm_subs_epu16(y, _mm_set1_epi16(16)), 7),
                        _mm_set1_epi16(static_cast<short>(kLuma)));
    const __m128i round = _mm_set1_epi16(32);
    *r = _mm_srai_epi16(
        _mm_adds_epi16(_mm_adds_epi16(y, _mm_mullo_epi16(v, _mm_set1_epi16(kRv))), round), 6);
    *g = _mm_srai_epi16(
        _mm_adds_epi16(_mm_subs_epi16(_mm_subs_epi16(y, _mm_mullo_epi16(v, _mm_set1_epi16(kGv))),
                                      _mm_mullo_epi16(u, _mm_set1_epi16(kGu))),
                       round),
        6);
    *b = _mm_srai_epi16(
        _mm_adds_epi16(_mm_adds_epi16(y, _mm_mullo_epi16(u, _mm_set1_epi16(kBu))), round), 6);
}

// Sixteen pixels per step; returns how many pixels it converted.
LONG UyvyRowSse2(const BYTE* src, std::uint32_t* dst, LONG width) {
    const __m128i opaque = _mm_set1_epi8(static_cast<char>(0xFF));
    LONG x = 0;
    for (; x + 16 <= width; x += 16) {
        __m128i r0, g0, b0, r1, g1, b1;
        UyvyEight(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x * 2)), &r0, &g0, &b0);
        UyvyEight(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x * 2 + 16)), &r1, &g1,
                  &b1);
        const __m128i r = _mm_packus_epi16(r0, r1);
        const __m128i g = _mm_packus_epi16(g0, g1);
        const __m128i b = _mm_packus_epi16(b0, b1);
        const __m128i bgLow = _mm_unpacklo_epi8(b, g);
        const __m128i bgHigh = _mm_unpackhi_epi8(b, g);
        const __m128i raLow = _mm_unpacklo_epi8(r, opaque);
        const __m128i raHigh = _mm_unpackhi_epi8(r, opaque);
        auto* out = reinterpret_cast<__m128i*>(dst + x);
        _mm_storeu_si128(out + 0, _mm_unpacklo_epi16(bgLow, raLow));
        _mm_storeu_si128(out + 1, _mm_unpackhi_epi16(bgLow, raLow));
        _mm_storeu_si128(out + 2, _mm_unpacklo_epi16(bgHigh, raHigh));
        _mm_storeu_si128(out + 3, _mm_unpackhi_epi16(bgHigh, raHigh));
    }
    return x;
}
#endif

}  // namespace

void UyvyToRgb32Scalar(const BYTE* src, std::ptrdiff_t srcStride, std::uint32_t* dst, LONG width,
                       LONG height) {
    for (LONG y = 0; y < height; ++y)
        UyvyRowScalar(src + y * srcStride, dst + static_cast<std::ptrdiff_t>(y) * width, 0, width);
}

void UyvyToRgb32(const BYTE* src, std::ptrdiff_t srcStride, std::uint32_t* dst, LONG width,
                 LONG height) {
#if defined(__SSE2__)
    for (LONG y = 0; y < height; ++y) {
        const BYTE* row = src + y * srcStride;
        std::uint32_t* out = dst + static_cast<std::ptrdiff_t>(y) * width;
        const LONG done = UyvyRowSse2(row, out, width);
        UyvyRowScalar(row, out, done, width);
    }
#else
    UyvyToRgb32Scalar(src, srcStride, dst, width, height);
#endif
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

}  // namespace media
