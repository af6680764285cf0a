// The pane-sized conversion: the picture must match the full-size conversion scaled in floating
// point, at any size, for any part of the frame, without writing past the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/media/renderers/frame_convert.h"
#include "platform/media/renderers/frame_scale.h"

namespace media {
namespace {

constexpr LONG kWidth = 720;
constexpr LONG kHeight = 576;
constexpr std::ptrdiff_t kStride = kWidth * 2;

// A camera-like UYVY frame: smooth luma and chroma gradients with a soft diagonal wave.
std::vector<BYTE> SmoothFrame() {
    std::vector<BYTE> frame(static_cast<std::size_t>(kStride * kHeight));
    for (LONG y = 0; y < kHeight; ++y)
        for (LONG x = 0; x < kWidth; ++x) {
            BYTE* pair = frame.data() + y * kStride + x / 2 * 4;
            const double wave = 30 * std::sin((x + y) / 40.0);
            pair[1 + x % 2 * 2] = static_cast<BYTE>(40 + 150.0 * x / kWidth + wave);
            if (x % 2 == 0) {
                pair[0] = static_cast<BYTE>(60 + 120.0 * y / kHeight);
                pair[2] = static_cast<BYTE>(200 - 100.0 * x / kWidth);
            }
        }
    return frame;
}

int Channel(std::uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

// The full-size picture's part `crop` sampled bilinearly at the centres of a w × h picture.
std::vector<std::uint32_t> Reference(const std::vector<std::uint32_t>& full, LONG fullWidth,
                                     LONG fullHeight, const RECT& crop, LONG w, LONG h) {
    std::vector<std::uint32_t> out(static_cast<std::size_t>(w * h));
    const double sx = static_cast<double>(crop.right - crop.left) / w;
    const double sy = static_cast<double>(crop.bottom - crop.top) / h;
    for (LONG y = 0; y < h; ++y)
        for (LONG x = 0; x < w; ++x) {
            const double fx = std::clamp(crop.left + (x + 0.5) * sx - 0.5, 0.0, fullWidth - 1.0);
            const double fy = std::clamp(crop.top + (y + 0.5) * sy - 0.5, 0.0, fullHeight - 1.0);
            const LONG x0 = static_cast<LONG>(fx), y0 = static_cast<LONG>(fy);
            const LONG x1 = std::min(x0 + 1, fullWidth - 1), y1 = std::min(y0 + 1, fullHeight - 1);
            const double ax = fx - x0, ay = fy - y0;
            std::uint32_t pixel = 0xFF000000u;
            for (int shift : {0, 8, 16}) {
                const auto at = [&](LONG px, LONG py) {
                    return Channel(full[static_cast<std::size_t>(py * fullWidth + px)], shift);
                };
                const double v = (1 - ay) * ((1 - ax) * at(x0, y0) + ax * at(x1, y0)) +
                                 ay * ((1 - ax) * at(x0, y1) + ax * at(x1, y1));
                pixel |= static_cast<std::uint32_t>(std::lround(v)) << shift;
            }
            out[static_cast<std::size_t>(y * w + x)] = pixel;
        }
    return out;
}

struct Difference {
    double meanError = 0;
    double psnr = 0;
};

Difference Compare(const std::vector<std::uint32_t>& a, const std::uint32_t* b) {
    double sum = 0, squares = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        for (int shift : {0, 8, 16}) {
            const int d = Channel(a[i], shift) - Channel(b[i], shift);
            sum += std::abs(d);
            squares += d * d;
        }
    const double n = static_cast<double>(a.size()) * 3;
    const double mse = std::max(squares / n, 1e-9);
    return {sum / n, 10 * std::log10(255.0 * 255.0 / mse)};
}

TEST(FrameScale, MatchesTheScaledFullPictureAtOddSizesAndForAnyPart) {
    const std::vector<BYTE> frame = SmoothFrame();
    std::vector<std::uint32_t> full(static_cast<std::size_t>(kWidth * kHeight));
    UyvyToRgb32(frame.data(), kStride, full.data(), kWidth, kHeight);
    FrameScaler scaler;
    struct Case {
        RECT crop;
        LONG w, h;
    };
    const RECT whole{0, 0, kWidth, kHeight};
    const Case cases[] = {
        {whole, 301, 227},   {whole, 317, 239},
        {whole, 3, 5},       {whole, 720, 576},
        {whole, 1001, 703},  {{101, 51, 601, 451}, 249, 199},  // a part starting mid-pair
        {{0, 0, 2, 2}, 9, 7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.w << " x " << c.h << " of " << c.crop.left << "," << c.crop.top << " - "
                     << c.crop.right << "," << c.crop.bottom);
        std::vector<std::uint32_t> out(static_cast<std::size_t>(c.w * c.h) + 1, 0x12345678u);
        scaler.UyvyToRgb32(frame.data(), kStride, c.crop, out.data(), c.w, c.h);
        EXPECT_EQ(out.back(), 0x12345678u) << "wrote past the picture";
        for (std::size_t i = 0; i + 1 < out.size(); ++i)
            ASSERT_EQ(out[i] >> 24, 0xFFu) << "pixel " << i;
        // A picture a few pixels wide from a whole frame places the second luma of a pair up to
        // a pixel off, as pairs are scaled whole: compared from pane sizes on.
        if (c.w < 16 && c.crop.right - c.crop.left > c.w) continue;
        const Difference d =
            Compare(Reference(full, kWidth, kHeight, c.crop, c.w, c.h), out.data());
        EXPECT_LE(d.meanError, 4.0);
        EXPECT_GE(d.psnr, 32.0);
    }
}

TEST(FrameScale, EdgesStayWherePaneScalingPutsThem) {
    // Left half black, right half white, top quarter blue: a wrong pair order, mirrored rows or
    // an offset crop move the edges.
    std::vector<BYTE> frame(static_cast<std::size_t>(kStride * kHeight));
    for (LONG y = 0; y < kHeight; ++y)
        for (LONG x = 0; x < kWidth; x += 2) {
            BYTE* pair = frame.data() + y * kStride + x * 2;
            const bool blue = y < kHeight / 4;
            const BYTE luma = blue ? 41 : x < kWidth / 2 ? 16 : 235;
            pair[0] = blue ? 240 : 128;
            pair[1] = pair[3] = luma;
            pair[2] = blue ? 110 : 128;
        }
    FrameScaler scaler;
    const LONG w = 301, h = 227;
    std::vector<std::uint32_t> out(static_cast<std::size_t>(w * h));
    scaler.UyvyToRgb32(frame.data(), kStride, {0, 0, kWidth, kHeight}, out.data(), w, h);
    const auto at = [&](LONG x, LONG y) { return out[static_cast<std::size_t>(y * w + x)]; };
    EXPECT_LE(Channel(at(140, 200), 8), 8);    // black
    EXPECT_GE(Channel(at(160, 200), 8), 247);  // white
    EXPECT_GE(Channel(at(100, 20), 0), 240);   // blue on top
    EXPECT_LE(Channel(at(100, 20), 16), 16);
    EXPECT_LE(Channel(at(100, 70), 0), 8);  // below the blue: black

    // The right half only: white everywhere below the blue.
    const LONG half = 150;
    std::vector<std::uint32_t> right(static_cast<std::size_t>(half * h));
    scaler.UyvyToRgb32(frame.data(), kStride, {kWidth / 2, kHeight / 4, kWidth, kHeight},
                       right.data(), half, h);
    const auto [darkest, brightest] = std::minmax_element(
        right.begin(), right.end(),
        [](std::uint32_t a, std::uint32_t b) { return Channel(a, 8) < Channel(b, 8); });
    EXPECT_GE(Channel(*darkest, 8), 247);
    EXPECT_GE(Channel(*brightest, 8), 247);
}

TEST(FrameScale, RgbFramesAreScaledTopRowFirst) {
    // A bottom-up RGB24 frame of 4 × 4 whose stored first row (the image's last) is red.
    VideoInputFormat format;
    format.layout = PixelLayout::Rgb24;
    format.width = 4;
    format.height = 4;
    format.stride = 12;
    format.bottomUp = true;
    std::vector<BYTE> frame(48, 0);
    for (int x = 0; x < 4; ++x) frame[x * 3 + 2] = 0xFF;  // stored row 0: red
    FrameScaler scaler;
    std::vector<std::uint32_t> out(2 * 2);
    scaler.Scale(format, frame.data(), {0, 0, 4, 4}, out.data(), 2, 2);
    EXPECT_EQ(out[0], 0xFF000000u);      // top: black
    EXPECT_GE(Channel(out[2], 16), 96);  // bottom: reddened
    EXPECT_EQ(Channel(out[2], 0), 0);
}

}  // namespace
}  // namespace media
