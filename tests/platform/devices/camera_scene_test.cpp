#include "platform/devices/camera_scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/devices/digit_glyphs.h"

namespace devices {
namespace {

const VideoFormat kPal{720, 576, 25};
const VideoFormat kNtsc{720, 480, 30};

std::vector<std::uint8_t> Render(int input, std::uint64_t frame, const VideoFormat& format,
                                 std::uint8_t fill = 0) {
    std::vector<std::uint8_t> out(format.FrameBytes(), fill);
    EXPECT_TRUE(CameraScene(input).Render(frame, format, out));
    return out;
}

UyvyPair PairAt(const std::vector<std::uint8_t>& f, const VideoFormat& format, int x, int y) {
    const std::size_t at = (static_cast<std::size_t>(y) * format.width + (x & ~1)) * 2;
    return {f[at], f[at + 1], f[at + 2], f[at + 3]};
}

TEST(UyvyTest, StudioRangeColours) {
    const UyvyPair white = UyvyFromRgb(255, 255, 255);
    EXPECT_EQ((std::array{white.u, white.y0, white.v}),
              (std::array<std::uint8_t, 3>{128, 235, 128}));
    const UyvyPair black = UyvyFromRgb(0, 0, 0);
    EXPECT_EQ((std::array{black.u, black.y0, black.v}),
              (std::array<std::uint8_t, 3>{128, 16, 128}));
    const UyvyPair red = UyvyFromRgb(255, 0, 0);
    EXPECT_EQ((std::array{red.u, red.y0, red.v}), (std::array<std::uint8_t, 3>{90, 81, 240}));
    const UyvyPair blue = UyvyFromRgb(0, 0, 255);
    EXPECT_EQ((std::array{blue.u, blue.y0, blue.v}), (std::array<std::uint8_t, 3>{240, 41, 110}));
}

TEST(CameraSceneTest, EveryByteIsWrittenWhateverTheBufferHeld) {
    for (const VideoFormat& format : {kPal, kNtsc})
        for (int input = 1; input <= 4; ++input)
            for (std::uint64_t frame : {0ull, 1ull, 977ull})
                EXPECT_EQ(Render(input, frame, format, 0x00), Render(input, frame, format, 0xFF))
                    << input << " " << frame;
}

TEST(CameraSceneTest, NothingPastTheFrameIsTouched) {
    std::vector<std::uint8_t> out(kPal.FrameBytes(), 0x77);  // a PAL buffer holds an NTSC frame
    ASSERT_TRUE(CameraScene(2).Render(5, kNtsc, out));
    for (std::size_t i = kNtsc.FrameBytes(); i < out.size(); ++i) ASSERT_EQ(out[i], 0x77) << i;
}

TEST(CameraSceneTest, RefusesBadSizesWithoutDrawing) {
    std::vector<std::uint8_t> out(kPal.FrameBytes(), 0x77);
    const CameraScene scene(1);
    EXPECT_FALSE(scene.Render(0, VideoFormat{719, 576, 25}, out));
    EXPECT_FALSE(scene.Render(0, VideoFormat{0, 576, 25}, out));
    EXPECT_FALSE(scene.Render(0, VideoFormat{720, 0, 25}, out));
    EXPECT_FALSE(scene.Render(0, kPal, std::span(out).first(out.size() - 1)));
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](std::uint8_t b) { return b == 0x77; }));
}

TEST(CameraSceneTest, SomethingMovesEveryFrame) {
    for (int input = 1; input <= 4; ++input) {
        std::vector<std::uint8_t> previous = Render(input, 0, kPal);
        for (std::uint64_t frame = 1; frame < 150; ++frame) {  // past the first bounces
            std::vector<std::uint8_t> current = Render(input, frame, kPal);
            std::size_t changed = 0;
            for (std::size_t i = 0; i < current.size(); ++i) changed += current[i] != previous[i];
            ASSERT_GT(changed, 1000u) << "input " << input << " frame " << frame;
            previous = std::move(current);
        }
    }
}

TEST(CameraSceneTest, InputNumberIsDrawnLargeInTheMiddle) {
    for (const VideoFormat& format : {kPal, kNtsc}) {
        const CameraScene::DigitPlacement place = CameraScene::PlaceDigit(format);
        EXPECT_GE(place.cell * kGlyphRows, format.height * 2 / 5);  // large: near half the height
        for (int input = 1; input <= 4; ++input)
            for (std::uint64_t frame : {0ull, 40ull, 333ull}) {
                const auto f = Render(input, frame, format);
                for (int r = 0; r < kGlyphRows; ++r)
                    for (int c = 0; c < kGlyphColumns; ++c) {
                        const int x = place.left + c * place.cell + place.cell / 2;
                        const int y = place.top + r * place.cell + place.cell / 2;
                        const UyvyPair p = PairAt(f, format, x, y);
                        const bool white = p.y0 == 235 && p.u == 128 && p.v == 128;
                        EXPECT_EQ(white, GlyphCellLit(input, r, c))
                            << "input " << input << " cell " << r << "," << c;
                    }
            }
    }
}

TEST(CameraSceneTest, CamerasHaveClearlyDifferentColours) {
    // Mean chroma of each camera's picture, over a few frames.
    std::array<std::pair<double, double>, 4> mean{};
    for (int input = 1; input <= 4; ++input) {
        double u = 0, v = 0, n = 0;
        for (std::uint64_t frame : {0ull, 10ull, 20ull}) {
            const auto f = Render(input, frame, kPal);
            for (std::size_t i = 0; i < f.size(); i += 4, ++n) {
                u += f[i];
                v += f[i + 2];
            }
        }
        mean[input - 1] = {u / n, v / n};
    }
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b) {
            const double distance =
                std::hypot(mean[a].first - mean[b].first, mean[a].second - mean[b].second);
            EXPECT_GT(distance, 20.0) << "inputs " << a + 1 << " and " << b + 1;
        }
}

}  // namespace
}  // namespace devices
