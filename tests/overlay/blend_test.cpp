#include <gtest/gtest.h>

#include <random>

#include "tests/overlay/overlay_test_support.h"

namespace {

// A text bitmap with every pixel ink, rows of `stride` bytes (padding bits random: only the
// pixels inside cx may count).
TextBitmap SolidText(LONG cx, LONG cy, int stride) {
    TextBitmap text{cx, cy, stride, std::vector<BYTE>(static_cast<std::size_t>(stride) * cy)};
    for (LONG y = 0; y < cy; ++y) {
        BYTE* row = text.bits.data() + static_cast<std::size_t>(y) * stride;
        for (int k = 0; k < stride; ++k) row[k] = static_cast<BYTE>(k * 37 + y * 11);
        for (LONG x = 0; x < cx; ++x) row[x >> 3] &= static_cast<BYTE>(~(0x80 >> (x & 7)));
    }
    return text;
}

int Blend(COverlayController& controller, std::vector<BYTE>& frame, const TextBitmap& text,
          POINT at) {
    const SIZE size{text.cx, text.cy};
    return controller.BlendText(frame.data(), nullptr, &size, text.bits.data(), text.stride, &at);
}

TEST(BlendTextTest, ClipsAtEveryEdgeOnEveryFormatInBothModes) {
    // 33 pixels wide: rows of 8 bytes.
    const TextBitmap text = SolidText(33, 5, 8);
    const LONG w = 40;
    const LONG h = 12;
    const POINT positions[] = {
        {3, 4},    {w - 10, 2}, {2, h - 2},  {-20, 3}, {4, -3}, {-30, -4}, {w - 1, h - 1},
        {-32, -4}, {w - 5, -2}, {-7, h - 1}, {-33, 0}, {0, -5}, {w, 0},    {0, h},
    };
    for (int format = kPixelFormatRGB8; format <= kPixelFormatUYVY; ++format) {
        for (bool cover : {true, false}) {
            for (const POINT at : positions) {
                auto controller = StreamingController(format, w, -h);
                controller->SetMergeMode(cover ? 1 : 0);
                std::vector<BYTE> frame = PatternFrame(controller->FrameBytes());
                std::vector<BYTE> expected = frame;
                ReferenceBlend(expected, LayoutOf(*controller), text, at, cover);
                const bool visible =
                    at.x < w && at.y < h && at.x + text.cx > 0 && at.y + text.cy > 0;
                EXPECT_EQ(Blend(*controller, frame, text, at), visible ? 1 : 0);
                ASSERT_EQ(frame, expected)
                    << "format " << format << " cover " << cover << " at " << at.x << "," << at.y;
            }
        }
    }
}

TEST(BlendTextTest, EmptyOrMismatchedBitmapsDrawNothing) {
    auto controller = StreamingController(kPixelFormatRGB32, 20, 10);
    std::vector<BYTE> frame = PatternFrame(controller->FrameBytes());
    const std::vector<BYTE> before = frame;
    const TextBitmap text = SolidText(16, 4, 4);
    const POINT at{0, 0};
    for (const SIZE size : {SIZE{0, 4}, SIZE{16, 0}, SIZE{-3, 4}, SIZE{40, 4}}) {
        // The last one claims 40 pixels in rows of 4 bytes.
        EXPECT_EQ(controller->BlendText(frame.data(), nullptr, &size, text.bits.data(), 4, &at), 0);
    }
    controller->DeletePixel();
    const SIZE size{16, 4};
    EXPECT_EQ(controller->BlendText(frame.data(), nullptr, &size, text.bits.data(), 4, &at), 0);
    EXPECT_EQ(frame, before);
}

// Many random frames, formats, bit counts, text sizes and positions. Frames and bitmaps sit in
// heap blocks of exactly their size, so under the address sanitizer any access outside them
// fails the run. Where the header's bit count matches the format the result must equal the
// model; where it does not, only the bounds are checked.
TEST(BlendTextTest, RandomGeometriesStayInsideTheFrame) {
    std::mt19937 random(20110613);
    const auto between = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    const WORD oddBitCounts[] = {0, 1, 4, 8, 12, 16, 24, 32};
    int compared = 0;
    for (int round = 0; round < 4000; ++round) {
        const int format = between(kPixelFormatRGB8, kPixelFormatUYVY);
        const LONG w = between(1, 70);
        const LONG h = between(1, 40);
        const bool positiveHeight = between(0, 1) == 1;
        const bool matching = between(0, 4) != 0;
        const WORD bits =
            matching ? static_cast<WORD>(BytesPerPixel(format) * 8) : oddBitCounts[between(0, 7)];
        COverlayController controller;
        controller.SetPixelFormat(format);
        controller.SetFrameGeometry(w, positiveHeight ? h : -h, bits, 0);
        controller.SetMergeMode(between(0, 1));
        int mode = 0;
        controller.GetMergeMode(&mode);
        if (controller.FrameBytes() == 0) continue;

        const LONG cx = between(1, 90);
        const LONG cy = between(1, 45);
        const int stride = ((cx + 31) >> 3 & ~3) + 4 * between(0, 1);
        TextBitmap text{cx, cy, stride, std::vector<BYTE>(static_cast<std::size_t>(stride) * cy)};
        for (BYTE& b : text.bits) b = static_cast<BYTE>(random());
        const POINT at{between(-100, w + 10), between(-50, h + 5)};

        std::vector<BYTE> frame = PatternFrame(controller.FrameBytes(), round);
        std::vector<BYTE> expected = frame;
        Blend(controller, frame, text, at);
        if (bits == BytesPerPixel(format) * 8) {
            const bool bottomUp = positiveHeight && IsRgbPixelFormat(format);
            ReferenceBlend(expected, LayoutOf(controller, bottomUp), text, at, mode != 0);
            ASSERT_EQ(frame, expected) << "round " << round;
            ++compared;
        }
    }
    EXPECT_GT(compared, 2500);
}

}  // namespace
