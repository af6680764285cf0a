#include "platform/text/text_out.h"

#include <gtest/gtest.h>

#include <string_view>
#include <thread>
#include <vector>

#include "platform/text/font_cache.h"
#include "tests/platform/text/make_logfont.h"

namespace {

// A monochrome bitmap in a heap block of exactly its size, so any stray write is caught by the
// address sanitizer.
struct MonoCanvas {
    MonoCanvas(LONG width, LONG height, bool bottomUp = false, BYTE fill = 0)
        : bytes(static_cast<std::size_t>(gdi::MonoStride(width)) * height, fill),
          view{bytes.data(), width, height, gdi::MonoStride(width), bottomUp} {}
    // Bit of image pixel (x, y), y = 0 at the top.
    int Bit(LONG x, LONG y) const { return (gdi::RowOf(view, y)[x >> 3] >> (7 - (x & 7))) & 1; }
    bool Ink(LONG x, LONG y) const { return Bit(x, y) == 0; }
    std::vector<BYTE> bytes;
    gdi::MonoBitmap view;
};

struct ColorCanvas {
    ColorCanvas(LONG width, LONG height, COLORREF fill)
        : bytes(static_cast<std::size_t>(width) * 3 * height),
          view{bytes.data(), width, height, width * 3, false} {
        for (std::size_t i = 0; i < bytes.size(); i += 3) {
            bytes[i] = GetBValue(fill);
            bytes[i + 1] = GetGValue(fill);
            bytes[i + 2] = GetRValue(fill);
        }
    }
    COLORREF At(LONG x, LONG y) const {
        const BYTE* p = gdi::RowOf(view, y) + x * 3;
        return RGB(p[2], p[1], p[0]);
    }
    std::vector<BYTE> bytes;
    gdi::ColorBitmap24 view;
};

std::shared_ptr<const gdi::Font> Font(const LOGFONTW& request) {
    auto font = gdi::CreateFontIndirectW(request);
    EXPECT_NE(font, nullptr);
    return font;
}

int Len(std::u16string_view text) {
    return static_cast<int>(text.size());
}

bool Draw(const gdi::Font& font, POINT at, std::u16string_view text, const MonoCanvas& canvas) {
    return gdi::TextOutMono(font, at, text.data(), Len(text), canvas.view);
}

// Rows of the cell that hold ink.
std::vector<LONG> InkRows(const MonoCanvas& canvas) {
    std::vector<LONG> rows;
    for (LONG y = 0; y < canvas.view.height; ++y) {
        for (LONG x = 0; x < canvas.view.width; ++x) {
            if (canvas.Ink(x, y)) {
                rows.push_back(y);
                break;
            }
        }
    }
    return rows;
}

TEST(TextOutMonoTest, TextIsZeroBitsOnAWhiteCellStandingOnTheAscentLine) {
    auto font = Font(Arial24());
    const SIZE cell = font->GetTextExtent(u"H", 1);
    MonoCanvas canvas(cell.cx, cell.cy);
    ASSERT_TRUE(Draw(*font, {0, 0}, u"H", canvas));
    const std::vector<LONG> rows = InkRows(canvas);
    ASSERT_FALSE(rows.empty());
    // A capital stands on the baseline: its last ink row is the row above it, and the internal
    // leading above the capitals stays white.
    EXPECT_EQ(rows.back(), font->Metrics().tmAscent - 1);
    EXPECT_GE(rows.front(), font->Metrics().tmInternalLeading);
    EXPECT_EQ(canvas.Bit(0, 0), 1);
    // Hard edges of a vertical stroke: a full column of ink over the capital's height.
    int fullColumns = 0;
    for (LONG x = 0; x < cell.cx; ++x) {
        bool full = true;
        for (LONG y : rows) full = full && canvas.Ink(x, y);
        fullColumns += full ? 1 : 0;
    }
    EXPECT_GE(fullColumns, 2);

    MonoCanvas descender(font->GetTextExtent(u"g", 1).cx, cell.cy);
    ASSERT_TRUE(Draw(*font, {0, 0}, u"g", descender));
    EXPECT_GE(InkRows(descender).back(), font->Metrics().tmAscent);
}

TEST(TextOutMonoTest, BottomUpBitmapsStoreTheLastRowFirst) {
    auto font = Font(Arial24());
    const SIZE cell = font->GetTextExtent(u"Channel 1!", 10);
    MonoCanvas topDown(cell.cx, cell.cy, false);
    MonoCanvas bottomUp(cell.cx, cell.cy, true);
    ASSERT_TRUE(Draw(*font, {0, 0}, u"Channel 1!", topDown));
    ASSERT_TRUE(Draw(*font, {0, 0}, u"Channel 1!", bottomUp));
    const std::size_t stride = static_cast<std::size_t>(topDown.view.stride);
    for (LONG r = 0; r < cell.cy; ++r) {
        const BYTE* a = topDown.bytes.data() + r * stride;
        const BYTE* b = bottomUp.bytes.data() + (cell.cy - 1 - r) * stride;
        EXPECT_TRUE(std::equal(a, a + stride, b)) << "row " << r;
    }
}

TEST(TextOutMonoTest, TouchesOnlyTheTextCell) {
    auto font = Font(Arial24());
    const SIZE cell = font->GetTextExtent(u"Hi", 2);
    MonoCanvas canvas(cell.cx + 20, cell.cy + 10);
    ASSERT_TRUE(Draw(*font, {7, 5}, u"Hi", canvas));
    for (LONG y = 0; y < canvas.view.height; ++y) {
        for (LONG x = 0; x < canvas.view.width; ++x) {
            const bool inCell = x >= 7 && x < 7 + cell.cx && y >= 5 && y < 5 + cell.cy;
            if (!inCell) {
                ASSERT_EQ(canvas.Bit(x, y), 0) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(canvas.Bit(7, 5), 1);
    EXPECT_EQ(canvas.Bit(6 + cell.cx, 4 + cell.cy), 1);
}

TEST(TextOutMonoTest, ClipsAtEveryEdgeLikeTheUnclippedText) {
    auto font = Font(Arial24());
    const std::u16string_view text = u"Wg|1";
    const SIZE cell = font->GetTextExtent(text.data(), Len(text));
    MonoCanvas reference(cell.cx, cell.cy);
    ASSERT_TRUE(Draw(*font, {0, 0}, text, reference));

    const LONG w = cell.cx / 2 + 3;
    const LONG h = cell.cy / 2 + 1;
    const POINT origins[] = {{-cell.cx / 3, -7}, {w - 5, h - 4},       {-5, h - 3},
                             {w - 6, -9},        {-cell.cx + 2, 0},    {0, -cell.cy + 1},
                             {w - 1, h - 1},     {-cell.cx, -cell.cy}, {w, h}};
    for (const POINT at : origins) {
        for (bool bottomUp : {false, true}) {
            MonoCanvas canvas(w, h, bottomUp);
            ASSERT_TRUE(Draw(*font, at, text, canvas));
            for (LONG y = 0; y < h; ++y) {
                for (LONG x = 0; x < w; ++x) {
                    const LONG rx = x - at.x;
                    const LONG ry = y - at.y;
                    const bool inCell = rx >= 0 && rx < cell.cx && ry >= 0 && ry < cell.cy;
                    const int expected = inCell ? reference.Bit(rx, ry) : 0;
                    ASSERT_EQ(canvas.Bit(x, y), expected)
                        << "origin " << at.x << "," << at.y << " pixel " << x << "," << y;
                }
            }
        }
    }
}

TEST(TextOutMonoTest, RefusesBitmapsItCannotDrawInto) {
    auto font = Font(Arial24());
    BYTE bytes[8] = {0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A};
    EXPECT_FALSE(gdi::TextOutMono(*font, {0, 0}, u"A", 1, gdi::MonoBitmap{nullptr, 8, 1, 4}));
    EXPECT_FALSE(gdi::TextOutMono(*font, {0, 0}, u"A", 1, gdi::MonoBitmap{bytes, 0, 2, 4}));
    EXPECT_FALSE(gdi::TextOutMono(*font, {0, 0}, u"A", 1, gdi::MonoBitmap{bytes, 40, 2, 4}));
    for (BYTE b : bytes) EXPECT_EQ(b, 0x5A);
}

TEST(TextOutMonoTest, ChineseDrawsFromTheFallbackFace) {
    auto font = Font(Arial24());
    const SIZE cell = font->GetTextExtent(u"中文", 2);
    EXPECT_GT(cell.cx, font->Metrics().tmAveCharWidth);
    MonoCanvas canvas(cell.cx, cell.cy);
    ASSERT_TRUE(Draw(*font, {0, 0}, u"中文", canvas));
    // Each of the two characters has plenty of ink in its half.
    for (LONG half = 0; half < 2; ++half) {
        int ink = 0;
        for (LONG y = 0; y < cell.cy; ++y) {
            for (LONG x = half * cell.cx / 2; x < (half + 1) * cell.cx / 2; ++x) {
                ink += canvas.Ink(x, y) ? 1 : 0;
            }
        }
        EXPECT_GT(ink, 30) << "character " << half;
    }
}

TEST(TextOutMonoTest, UnderlineAndStrikeOutRunAcrossTheCell) {
    for (bool underline : {true, false}) {
        LOGFONTW request = Arial24();
        (underline ? request.lfUnderline : request.lfStrikeOut) = 1;
        auto font = Font(request);
        const SIZE cell = font->GetTextExtent(u"    ", 4);
        MonoCanvas canvas(cell.cx, cell.cy);
        ASSERT_TRUE(Draw(*font, {0, 0}, u"    ", canvas));
        const std::vector<LONG> rows = InkRows(canvas);
        ASSERT_FALSE(rows.empty());
        for (LONG x = 0; x < cell.cx; ++x) EXPECT_TRUE(canvas.Ink(x, rows.front()));
        if (underline) {
            EXPECT_GE(rows.front(), font->Metrics().tmAscent);
        } else {
            EXPECT_LT(rows.back(), font->Metrics().tmAscent);
        }
    }
    auto font = Font(Arial24());
    MonoCanvas plain(font->GetTextExtent(u"  ", 2).cx, 24);
    ASSERT_TRUE(Draw(*font, {0, 0}, u"  ", plain));
    EXPECT_TRUE(InkRows(plain).empty());
}

TEST(TextOutMonoTest, ThreadsSharingAFontDrawWhatOneThreadDraws) {
    const LOGFONTW request = MakeLogFont(u"Arial", 19, 11);
    const std::u16string_view texts[] = {u"2011-06-13(09:05:07)", u"通道一 Channel", u"Quadrel"};
    // References from a font of its own; the threads then fill the shared font's cache together.
    auto own = gdi::Font::Create(request);
    ASSERT_NE(own, nullptr);
    std::vector<MonoCanvas> expected;
    for (auto text : texts) {
        const SIZE cell = own->GetTextExtent(text.data(), Len(text));
        expected.emplace_back(cell.cx, cell.cy);
        ASSERT_TRUE(Draw(*own, {0, 0}, text, expected.back()));
    }
    auto shared = gdi::Font::Create(request);
    ASSERT_NE(shared, nullptr);
    std::vector<int> mismatches(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 20; ++round) {
                for (std::size_t k = 0; k < std::size(texts); ++k) {
                    const std::size_t at = (k + static_cast<std::size_t>(t)) % std::size(texts);
                    MonoCanvas canvas(expected[at].view.width, expected[at].view.height);
                    Draw(*shared, {0, 0}, texts[at], canvas);
                    mismatches[t] += canvas.bytes != expected[at].bytes ? 1 : 0;
                }
            }
        });
    }
    for (auto& thread : threads) thread.join();
    for (int m : mismatches) EXPECT_EQ(m, 0);
}

TEST(TextOut24Test, PreviewStampIsWhiteOnBlackRightAligned) {
    LOGFONTW request = MakeLogFont(u"Arial", 12, 10, FW_NORMAL, DEFAULT_QUALITY);
    request.lfPitchAndFamily = FF_SWISS;
    auto font = Font(request);
    EXPECT_EQ(font->Metrics().tmHeight, 12);
    EXPECT_EQ(font->Metrics().tmAveCharWidth, 10);

    const LONG W = 352;
    const LONG H = 288;
    ColorCanvas canvas(W, H, RGB(0, 0, 0));
    const gdi::TextColors colors{RGB(255, 255, 255), RGB(0, 0, 0), true};
    ASSERT_TRUE(gdi::DrawText24(*font, u"2011-06-13(09:05:07)", -1, RECT{0, H - 12, W, H},
                                gdi::DT_RIGHT, colors, canvas.view));
    LONG right = -1;
    LONG left = W;
    bool white = false;
    for (LONG y = 0; y < H; ++y) {
        for (LONG x = 0; x < W; ++x) {
            const COLORREF c = canvas.At(x, y);
            if (c == RGB(0, 0, 0)) continue;
            ASSERT_GE(y, H - 12) << "ink above the stamp's rectangle";
            right = std::max(right, x);
            left = std::min(left, x);
            white = white || c == RGB(255, 255, 255);
        }
    }
    EXPECT_TRUE(white);
    EXPECT_GE(right, W - 4);
    EXPECT_NEAR(W - left, font->GetTextExtent(u"2011-06-13(09:05:07)", 20).cx, 3);
}

TEST(TextOut24Test, NonAntialiasedQualityUsesOnlyTheTwoColours) {
    for (BYTE quality : {NONANTIALIASED_QUALITY, ANTIALIASED_QUALITY}) {
        auto font = Font(MakeLogFont(u"Arial", 16, 0, FW_NORMAL, quality));
        ColorCanvas canvas(200, 20, RGB(0, 0, 0));
        const gdi::TextColors colors{RGB(255, 255, 255), RGB(0, 0, 0), true};
        ASSERT_TRUE(
            gdi::TextOut24(*font, {0, 0}, u"Sawtooth 45%", 12, colors, nullptr, canvas.view));
        int between = 0;
        int full = 0;
        for (LONG y = 0; y < 20; ++y) {
            for (LONG x = 0; x < 200; ++x) {
                const COLORREF c = canvas.At(x, y);
                full += c == RGB(255, 255, 255) ? 1 : 0;
                between += c != RGB(255, 255, 255) && c != RGB(0, 0, 0) ? 1 : 0;
            }
        }
        EXPECT_GT(full, 0);
        if (quality == NONANTIALIASED_QUALITY) {
            EXPECT_EQ(between, 0);
        } else {
            EXPECT_GT(between, 0);
        }
    }
}

TEST(TextOut24Test, OpaqueModeFillsTheCellTransparentModeKeepsIt) {
    auto font = Font(MakeLogFont(u"Arial", 16, 0, FW_NORMAL, NONANTIALIASED_QUALITY));
    const SIZE cell = font->GetTextExtent(u"ab", 2);
    for (bool opaque : {true, false}) {
        ColorCanvas canvas(cell.cx + 4, cell.cy + 4, RGB(0, 255, 0));
        const gdi::TextColors colors{RGB(255, 255, 255), RGB(255, 0, 0), opaque};
        ASSERT_TRUE(gdi::TextOut24(*font, {2, 2}, u"ab", 2, colors, nullptr, canvas.view));
        for (LONG y = 0; y < canvas.view.height; ++y) {
            for (LONG x = 0; x < canvas.view.width; ++x) {
                const bool inCell = x >= 2 && x < 2 + cell.cx && y >= 2 && y < 2 + cell.cy;
                const COLORREF c = canvas.At(x, y);
                if (!inCell) {
                    ASSERT_EQ(c, RGB(0, 255, 0));
                } else if (c != RGB(255, 255, 255)) {
                    ASSERT_EQ(c, opaque ? RGB(255, 0, 0) : RGB(0, 255, 0)) << x << "," << y;
                }
            }
        }
    }
}

TEST(TextOut24Test, DrawTextClipsToItsRectangleUnlessAskedNotTo) {
    auto font = Font(MakeLogFont(u"Arial", 16, 0, FW_NORMAL, NONANTIALIASED_QUALITY));
    const RECT rect{20, 4, 50, 20};
    for (UINT extra : {0u, gdi::DT_NOCLIP}) {
        ColorCanvas canvas(100, 24, RGB(0, 0, 0));
        const gdi::TextColors colors{RGB(255, 255, 255), RGB(0, 0, 0), false};
        ASSERT_TRUE(gdi::DrawText24(*font, u"WWWWWWWW", -1, rect, gdi::DT_CENTER | extra, colors,
                                    canvas.view));
        int outside = 0;
        for (LONG y = 0; y < 24; ++y) {
            for (LONG x = 0; x < 100; ++x) {
                const bool in =
                    x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
                outside += !in && canvas.At(x, y) != RGB(0, 0, 0) ? 1 : 0;
            }
        }
        if (extra == 0) {
            EXPECT_EQ(outside, 0);
        } else {
            EXPECT_GT(outside, 0);
        }
    }
}

}  // namespace
