#include "platform/devices/camera_scene.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/devices/digit_glyphs.h"

namespace devices {
namespace {

std::uint8_t Clamp(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

// Per camera: stripe colours, square colour, and the square's speed in pixels per frame.
struct Look {
    int stripeA[3];
    int stripeB[3];
    int square[3];
    int speedX;
    int speedY;
};

constexpr Look kLooks[4] = {
    {{24, 52, 140}, {46, 86, 186}, {240, 214, 40}, 7, 5},   // 1: blues, yellow square
    {{22, 110, 44}, {44, 150, 70}, {232, 64, 200}, 5, 8},   // 2: greens, magenta square
    {{150, 44, 26}, {196, 86, 40}, {64, 220, 232}, 9, 4},   // 3: reds, cyan square
    {{92, 36, 124}, {130, 62, 170}, {250, 160, 40}, 6, 7},  // 4: purples, orange square
};

constexpr int kStripePeriod = 96;  // pixels; two stripes of 48
constexpr int kScrollSpeed = 4;    // pixels per frame

// Fills pixels [x0, x1) of a row, widened to whole pairs.
void FillPairs(std::uint8_t* row, int x0, int x1, const UyvyPair& c) {
    x0 &= ~1;
    std::uint8_t* p = row + static_cast<std::ptrdiff_t>(x0) * 2;
    std::uint8_t* end = row + static_cast<std::ptrdiff_t>((x1 + 1) & ~1) * 2;
    for (; p < end; p += 4) {
        p[0] = c.u;
        p[1] = c.y0;
        p[2] = c.v;
        p[3] = c.y1;
    }
}

void FillRect(std::uint8_t* frame, int stride, int width, int height, int left, int top, int right,
              int bottom, const UyvyPair& c) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width);
    bottom = std::min(bottom, height);
    if (left >= right) return;
    for (int y = top; y < bottom; ++y)
        FillPairs(frame + static_cast<std::ptrdiff_t>(y) * stride, left, right, c);
}

// Stripes of period kStripePeriod: pixel i has colour 0 when i mod period is in the first half,
// and a pair takes the colour of its first pixel. A row whose pixel x has the colour of pixel
// x + offset is a copy out of one of two patterns: pairs starting on even pixels (even offsets)
// or on odd pixels (odd offsets). Each pattern is long enough for any offset.
class StripePatterns {
  public:
    StripePatterns(int width, const std::array<UyvyPair, 2>& c)
        : rowBytes_(static_cast<std::size_t>(width) * 2) {
        const int pairs = width / 2 + kStripePeriod / 2;
        for (int parity = 0; parity < 2; ++parity) {
            std::vector<std::uint8_t>& pattern = patterns_[parity];
            pattern.resize(static_cast<std::size_t>(pairs) * 4);
            for (int k = 0; k < pairs; ++k) {
                const UyvyPair& pair =
                    c[(2 * k + parity) % kStripePeriod < kStripePeriod / 2 ? 0 : 1];
                std::uint8_t* p = pattern.data() + static_cast<std::ptrdiff_t>(k) * 4;
                p[0] = pair.u;
                p[1] = pair.y0;
                p[2] = pair.v;
                p[3] = pair.y1;
            }
        }
    }
    void Fill(std::uint8_t* row, int offset) const {
        const int phase = ((offset % kStripePeriod) + kStripePeriod) % kStripePeriod;
        const std::vector<std::uint8_t>& pattern = patterns_[phase % 2];
        std::memcpy(row, pattern.data() + static_cast<std::ptrdiff_t>(phase / 2) * 4, rowBytes_);
    }

  private:
    std::size_t rowBytes_;
    std::array<std::vector<std::uint8_t>, 2> patterns_;
};

// Position along a path that bounces between 0 and `range`.
int Bounce(std::uint64_t travelled, int range) {
    if (range <= 0) return 0;
    const auto period = static_cast<std::uint64_t>(range) * 2;
    const auto t = static_cast<int>(travelled % period);
    return t <= range ? t : static_cast<int>(period) - t;
}

void DrawDigit(std::uint8_t* frame, int stride, int width, int height, int digit, int left, int top,
               int cell, const UyvyPair& fill, const UyvyPair* edge, int edgeWidth) {
    for (int r = 0; r < kGlyphRows; ++r)
        for (int c = 0; c < kGlyphColumns; ++c) {
            if (!GlyphCellLit(digit, r, c)) continue;
            const int x = left + c * cell;
            const int y = top + r * cell;
            if (edge)
                FillRect(frame, stride, width, height, x - edgeWidth, y - edgeWidth,
                         x + cell + edgeWidth, y + cell + edgeWidth, *edge);
        }
    for (int r = 0; r < kGlyphRows; ++r)
        for (int c = 0; c < kGlyphColumns; ++c) {
            if (!GlyphCellLit(digit, r, c)) continue;
            const int x = left + c * cell;
            const int y = top + r * cell;
            FillRect(frame, stride, width, height, x, y, x + cell, y + cell, fill);
        }
}

}  // namespace

UyvyPair UyvyFromRgb(int r, int g, int b) {
    // 16.16 fixed point, rounded to nearest; the offsets keep the sums positive for the shift.
    const int y = (16829 * r + 33039 * g + 6416 * b + (16 << 16) + 32768) >> 16;
    const int u = (-9714 * r - 19070 * g + 28784 * b + (128 << 16) + 32768) >> 16;
    const int v = (28784 * r - 24103 * g - 4681 * b + (128 << 16) + 32768) >> 16;
    return {Clamp(u), Clamp(y), Clamp(v), Clamp(y)};
}

CameraScene::CameraScene(int input) : input_(std::clamp(input, 1, 4)) {
    const Look& look = kLooks[input_ - 1];
    stripes_[0] = UyvyFromRgb(look.stripeA[0], look.stripeA[1], look.stripeA[2]);
    stripes_[1] = UyvyFromRgb(look.stripeB[0], look.stripeB[1], look.stripeB[2]);
    square_ = UyvyFromRgb(look.square[0], look.square[1], look.square[2]);
}

CameraScene::DigitPlacement CameraScene::PlaceDigit(const VideoFormat& format) {
    const int cell = format.height / 14;
    return {cell, (format.width - kGlyphColumns * cell) / 2,
            (format.height - kGlyphRows * cell) / 2};
}

bool CameraScene::Render(std::uint64_t frame, const VideoFormat& format,
                         std::span<std::uint8_t> out) const {
    const int width = format.width;
    const int height = format.height;
    if (width <= 0 || width % 2 != 0 || height <= 0 || out.size() < format.FrameBytes())
        return false;
    const int stride = width * 2;
    std::uint8_t* pixels = out.data();
    const int scroll = static_cast<int>((frame * kScrollSpeed) % kStripePeriod);

    // Background: each camera's stripes run and scroll their own way.
    const StripePatterns stripes(width, stripes_);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = pixels + static_cast<std::ptrdiff_t>(y) * stride;
        switch (input_) {
            case 1:  // "\" stripes moving right
                stripes.Fill(row, -y - scroll);
                break;
            case 2:  // "/" stripes moving left
                stripes.Fill(row, y + scroll);
                break;
            case 3:  // upright bars moving left
                stripes.Fill(row, scroll);
                break;
            default: {  // level bars moving down: a row of one colour, a copy of the first pair
                const int phase = ((y - scroll) % kStripePeriod + kStripePeriod) % kStripePeriod;
                FillPairs(row, 0, 2, stripes_[phase < kStripePeriod / 2 ? 0 : 1]);
                const auto rowBytes = static_cast<std::size_t>(stride);
                for (std::size_t done = 4; done < rowBytes; done *= 2)
                    std::memcpy(row + done, row, std::min(done, rowBytes - done));
                break;
            }
        }
    }

    // The bouncing square, under the number.
    const Look& look = kLooks[input_ - 1];
    const int side = height / 9;
    const int sx = Bounce(frame * static_cast<std::uint64_t>(look.speedX), width - side);
    const int sy = Bounce(frame * static_cast<std::uint64_t>(look.speedY), height - side);
    FillRect(pixels, stride, width, height, sx, sy, sx + side, sy + side, square_);

    // The input number, large, white edged with black.
    const DigitPlacement digit = PlaceDigit(format);
    DrawDigit(pixels, stride, width, height, input_, digit.left, digit.top, digit.cell, kDigitFill,
              &kDigitEdge, std::max(2, digit.cell / 6));

    // The frame number, six small digits on a black strip at the bottom left.
    constexpr int kSmallCell = 4;
    constexpr int kDigitAdvance = (kGlyphColumns + 1) * kSmallCell;
    const int stripTop = height - (kGlyphRows + 2) * kSmallCell;
    FillRect(pixels, stride, width, height, 0, stripTop, 6 * kDigitAdvance + 2 * kSmallCell, height,
             kDigitEdge);
    std::uint64_t number = frame % 1'000'000;
    for (int i = 5; i >= 0; --i) {
        DrawDigit(pixels, stride, width, height, static_cast<int>(number % 10),
                  kSmallCell + i * kDigitAdvance, stripTop + kSmallCell, kSmallCell, kDigitFill,
                  nullptr, 0);
        number /= 10;
    }
    return true;
}

}  // namespace devices
