#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>

#include "platform/media/renderers/alpha_overlay.h"
#include "platform/media/renderers/frame_convert.h"

namespace media {
namespace {

std::uint32_t Convert(BYTE u, BYTE y, BYTE v) {
    const BYTE pair[4] = {u, y, v, y};
    std::uint32_t out[2] = {};
    UyvyToRgb32(pair, 4, out, 2, 1);
    return out[0];
}

int Channel(std::uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

TEST(FrameConvert, StudioRangeReferenceColours) {
    EXPECT_EQ(Convert(128, 235, 128), 0xFFFFFFFFu);  // white
    EXPECT_EQ(Convert(128, 16, 128), 0xFF000000u);   // black
    EXPECT_EQ(Convert(128, 0, 128), 0xFF000000u);    // below black clamps
    const std::uint32_t red = Convert(90, 81, 240);  // BT.601 red
    EXPECT_NEAR(Channel(red, 16), 255, 2);
    EXPECT_NEAR(Channel(red, 8), 0, 2);
    EXPECT_NEAR(Channel(red, 0), 0, 2);
    const std::uint32_t blue = Convert(240, 41, 110);
    EXPECT_NEAR(Channel(blue, 16), 0, 2);
    EXPECT_NEAR(Channel(blue, 0), 255, 2);
}

// BT.601 studio range in floating point, the colour every converted pixel must be near.
std::uint32_t ReferencePixel(int y, int u, int v) {
    const double luma = 1.164 * (y - 16);
    const auto Clamp = [](double c) {
        return static_cast<std::uint32_t>(std::clamp(std::lround(c), 0L, 255L));
    };
    const std::uint32_t r = Clamp(luma + 1.596 * (v - 128));
    const std::uint32_t g = Clamp(luma - 0.813 * (v - 128) - 0.391 * (u - 128));
    const std::uint32_t b = Clamp(luma + 2.018 * (u - 128));
    return 0xFF000000u | r << 16 | g << 8 | b;
}

TEST(FrameConvert, EveryPixelIsNearBt601ForAnyWidthAndStride) {
    // Odd widths end in half a pair; strides are padded; every row starts at its stride.
    std::mt19937 random(7);
    for (LONG width : {1, 2, 3, 15, 16, 17, 31, 33, 720}) {
        const LONG height = 3;
        const std::ptrdiff_t stride = ((width + 1) / 2 * 4 + 3 + 8) & ~3;
        std::vector<BYTE> src(static_cast<std::size_t>(stride * height));
        for (BYTE& b : src) b = static_cast<BYTE>(16 + random() % 220);
        std::vector<std::uint32_t> out(static_cast<std::size_t>(width * height) + 1, 0x12345678u);
        UyvyToRgb32(src.data(), stride, out.data(), width, height);
        int worst = 0;
        for (LONG y = 0; y < height; ++y) {
            for (LONG x = 0; x < width; ++x) {
                const BYTE* pair = src.data() + y * stride + x / 2 * 4;
                const std::uint32_t expected =
                    ReferencePixel(pair[1 + x % 2 * 2], pair[0], pair[2]);
                const std::uint32_t got = out[static_cast<std::size_t>(y * width + x)];
                ASSERT_EQ(got >> 24, 0xFFu) << "width " << width << " x " << x;
                for (int shift : {0, 8, 16})
                    worst =
                        std::max(worst, std::abs(Channel(got, shift) - Channel(expected, shift)));
            }
        }
        EXPECT_LE(worst, 3) << "width " << width;
        EXPECT_EQ(out.back(), 0x12345678u) << "wrote past the frame, width " << width;
    }
}

TEST(FrameConvert, RgbRowsComeOutTopFirst) {
    // Two rows, bottom row stored first: blue-green-red bytes.
    const BYTE rgb24[2][4] = {{0x01, 0x02, 0x03, 0}, {0x0A, 0x0B, 0x0C, 0}};
    std::uint32_t out[2] = {};
    Rgb24ToRgb32(&rgb24[0][0], 4, true, out, 1, 2);
    EXPECT_EQ(out[0], 0xFF0C0B0Au);
    EXPECT_EQ(out[1], 0xFF030201u);
    const std::uint32_t rgb32[2] = {0x00112233u, 0x00445566u};
    Rgb32ToRgb32(reinterpret_cast<const BYTE*>(rgb32), 4, false, out, 1, 2);
    EXPECT_EQ(out[0], 0xFF112233u);
    EXPECT_EQ(out[1], 0xFF445566u);
}

TEST(AlphaOverlay, ScalesClipsKeysAndBlends) {
    // A 4 × 2 bitmap: black except a white pixel at (1, 0) and a red one at (3, 1).
    OverlaySource source;
    source.width = 4;
    source.height = 2;
    source.pixels = {0xFF000000u, 0xFFFFFFFFu, 0xFF000000u, 0xFF000000u,
                     0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFFFF0000u};
    VideoFrame frame;
    frame.Resize(8, 4);
    std::fill(frame.pixels.begin(), frame.pixels.end(), 0xFF808080u);

    // Whole bitmap over the whole frame: every bitmap pixel covers 2 × 2 frame pixels.
    auto overlay =
        AlphaOverlay::Build(source, {0, 0, 4, 2}, {0, 0, 1, 1}, 1.0f, true, 0x000000, 8, 4);
    overlay->Blend(frame);
    EXPECT_EQ(frame.Row(0)[2], 0xFFFFFFFFu);
    EXPECT_EQ(frame.Row(1)[3], 0xFFFFFFFFu);
    EXPECT_EQ(frame.Row(3)[7], 0xFFFF0000u);
    EXPECT_EQ(frame.Row(0)[0], 0xFF808080u);  // black is the key: video shows
    EXPECT_EQ(frame.Row(2)[4], 0xFF808080u);

    // Half alpha mixes; no key shows black; a destination past the edge is cut.
    std::fill(frame.pixels.begin(), frame.pixels.end(), 0xFF808080u);
    AlphaOverlay::Build(source, {1, 0, 2, 1}, {0.75f, 0.5f, 1.25f, 1.0f}, 0.5f, false, 0, 8, 4)
        ->Blend(frame);
    EXPECT_EQ(frame.Row(2)[6], 0xFFBFBFBFu);  // white over grey at one half
    EXPECT_EQ(frame.Row(3)[7], 0xFFBFBFBFu);
    EXPECT_EQ(frame.Row(2)[5], 0xFF808080u);

    // Alpha 0 leaves the frame alone.
    std::fill(frame.pixels.begin(), frame.pixels.end(), 0xFF808080u);
    AlphaOverlay::Build(source, {0, 0, 4, 2}, {0, 0, 1, 1}, 0.0f, false, 0, 8, 4)->Blend(frame);
    EXPECT_TRUE(std::all_of(frame.pixels.begin(), frame.pixels.end(),
                            [](std::uint32_t p) { return p == 0xFF808080u; }));
}

}  // namespace
}  // namespace media
