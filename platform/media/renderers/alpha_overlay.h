// AlphaOverlay: a still bitmap laid over video frames of one size, prepared once so that each
// frame costs one copy (or blend) of the visible pixels. Made by the video mixing renderer from
// the alpha bitmap it is given; immutable once built, so the streaming thread can use it while
// the application thread builds the next one.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/media/interfaces/ivmr_mixer_bitmap9.h"
#include "platform/media/renderers/video_frame.h"

namespace media {

// A copy of the caller's bitmap in 0xFFRRGGBB pixels.
struct OverlaySource {
    LONG width = 0;
    LONG height = 0;
    std::vector<std::uint32_t> pixels;  // top row first, packed
};

class AlphaOverlay {
  public:
    // Part `crop` of `source` (inside it, not empty) goes to `destination`, in fractions of the
    // video; `alpha` 0..1; with `useKey`, source pixels of colour `key` stay transparent.
    // Scaling is nearest-neighbour.
    static std::shared_ptr<const AlphaOverlay> Build(const OverlaySource& source, const RECT& crop,
                                                     const VMR9NormalizedRect& destination,
                                                     float alpha, bool useKey, COLORREF key,
                                                     LONG videoWidth, LONG videoHeight);

    // Lays the bitmap over `frame`, which must have the size the overlay was built for.
    void Blend(VideoFrame& frame) const;
    bool Fits(const VideoFrame& frame) const {
        return frame.width == videoWidth_ && frame.height == videoHeight_;
    }

  private:
    // A run of visible pixels: `length` pixels at `frameOffset` in the frame take the overlay's
    // pixels from `pixelOffset`.
    struct Span {
        std::uint32_t frameOffset;
        std::uint32_t length;
        std::uint32_t pixelOffset;
    };

    std::vector<Span> spans_;
    std::vector<std::uint32_t> pixels_;
    unsigned alpha256_ = 0;  // 0..256
    LONG videoWidth_ = 0;
    LONG videoHeight_ = 0;
};

}  // namespace media
