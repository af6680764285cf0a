// The picture of one simulated camera: packed UYVY frames a person can tell apart at a glance.
// Each camera has its own colours and its own stripe pattern scrolling its own way, its input
// number drawn large in the middle, a square bouncing on its own path (it moves every frame)
// and the frame number in small digits at the bottom left.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "platform/devices/analog_video_standard.h"

namespace devices {

// One UYVY pixel pair (two pixels sharing their chroma), in memory order.
struct UyvyPair {
    std::uint8_t u = 128;
    std::uint8_t y0 = 16;
    std::uint8_t v = 128;
    std::uint8_t y1 = 16;
};

// Studio-range BT.601 of an RGB colour, as a pair of two equal pixels.
UyvyPair UyvyFromRgb(int r, int g, int b);

class CameraScene {
  public:
    // `input` 1..4 chooses the camera's colours and motion.
    explicit CameraScene(int input);

    // Draws frame `frame` into `out`, rows top first, every byte of the picture written; no
    // allocation. False, with nothing drawn, when the format's width is not a positive even
    // number, the height is not positive, or `out` is smaller than format.FrameBytes().
    bool Render(std::uint64_t frame, const VideoFormat& format, std::span<std::uint8_t> out) const;

    int Input() const { return input_; }
    // Where the input number is drawn, for checking a picture: the glyph's cell size and the
    // top-left pixel of its first cell.
    struct DigitPlacement {
        int cell;
        int left;
        int top;
    };
    static DigitPlacement PlaceDigit(const VideoFormat& format);

    static constexpr UyvyPair kDigitFill{128, 235, 128, 235};
    static constexpr UyvyPair kDigitEdge{128, 16, 128, 16};

  private:
    // Immutable after construction.
    int input_;
    std::array<UyvyPair, 2> stripes_;  // the two stripe colours
    UyvyPair square_;                  // the bouncing square
};

}  // namespace devices
