#include "platform/media/renderers/alpha_overlay.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace media {

std::shared_ptr<const AlphaOverlay> AlphaOverlay::Build(const OverlaySource& source,
                                                        const RECT& crop,
                                                        const VMR9NormalizedRect& destination,
                                                        float alpha, bool useKey, COLORREF key,
                                                        LONG videoWidth, LONG videoHeight) {
    auto overlay = std::make_shared<AlphaOverlay>();
    overlay->videoWidth_ = videoWidth;
    overlay->videoHeight_ = videoHeight;
    overlay->alpha256_ = static_cast<unsigned>(std::lround(std::clamp(alpha, 0.0f, 1.0f) * 256));
    const LONG cropWidth = crop.right - crop.left;
    const LONG cropHeight = crop.bottom - crop.top;
    if (overlay->alpha256_ == 0 || cropWidth <= 0 || cropHeight <= 0 || crop.left < 0 ||
        crop.top < 0 || crop.right > source.width || crop.bottom > source.height ||
        videoWidth <= 0 || videoHeight <= 0)
        return overlay;

    auto toPixels = [](float f, LONG size) {
        return static_cast<LONG>(std::lround(std::clamp(f, 0.0f, 1.0f) * static_cast<float>(size)));
    };
    // The unclipped destination in video pixels decides the scale; the clipped part is drawn.
    const double left = static_cast<double>(destination.left) * videoWidth;
    const double top = static_cast<double>(destination.top) * videoHeight;
    const double width = (static_cast<double>(destination.right) - destination.left) * videoWidth;
    const double height = (static_cast<double>(destination.bottom) - destination.top) * videoHeight;
    if (width <= 0 || height <= 0) return overlay;
    const LONG x0 = toPixels(destination.left, videoWidth);
    const LONG x1 = toPixels(destination.right, videoWidth);
    const LONG y0 = toPixels(destination.top, videoHeight);
    const LONG y1 = toPixels(destination.bottom, videoHeight);
    const std::uint32_t keyPixel =
        0xFF000000u | ((key & 0xFFu) << 16) | (key & 0xFF00u) | ((key >> 16) & 0xFFu);

    for (LONG y = y0; y < y1; ++y) {
        const LONG sy = std::min<LONG>(static_cast<LONG>((y + 0.5 - top) * cropHeight / height),
                                       cropHeight - 1);
        if (sy < 0) continue;
        const std::uint32_t* row = source.pixels.data() +
                                   static_cast<std::size_t>(crop.top + sy) * source.width +
                                   crop.left;
        bool open = false;
        for (LONG x = x0; x < x1; ++x) {
            const LONG sx = std::min<LONG>(static_cast<LONG>((x + 0.5 - left) * cropWidth / width),
                                           cropWidth - 1);
            const std::uint32_t pixel = sx < 0 ? keyPixel : row[sx];
            const bool visible = sx >= 0 && !(useKey && pixel == keyPixel);
            if (!visible) {
                open = false;
                continue;
            }
            if (!open) {
                overlay->spans_.push_back({static_cast<std::uint32_t>(y * videoWidth + x), 0,
                                           static_cast<std::uint32_t>(overlay->pixels_.size())});
                open = true;
            }
            overlay->pixels_.push_back(pixel | 0xFF000000u);
            ++overlay->spans_.back().length;
        }
    }
    return overlay;
}

void AlphaOverlay::Blend(VideoFrame& frame) const {
    std::uint32_t* target = frame.pixels.data();
    const std::uint32_t* source = pixels_.data();
    if (alpha256_ >= 256) {
        for (const Span& span : spans_)
            std::memcpy(target + span.frameOffset, source + span.pixelOffset,
                        span.length * sizeof(std::uint32_t));
        return;
    }
    const std::uint32_t a = alpha256_;
    const std::uint32_t b = 256 - a;
    for (const Span& span : spans_) {
        std::uint32_t* out = target + span.frameOffset;
        const std::uint32_t* in = source + span.pixelOffset;
        for (std::uint32_t i = 0; i < span.length; ++i) {
            const std::uint32_t s = in[i];
            const std::uint32_t d = out[i];
            const std::uint32_t rb = (((s & 0xFF00FFu) * a + (d & 0xFF00FFu) * b) >> 8) & 0xFF00FFu;
            const std::uint32_t g = (((s & 0xFF00u) * a + (d & 0xFF00u) * b) >> 8) & 0xFF00u;
            out[i] = 0xFF000000u | rb | g;
        }
    }
}

}  // namespace media
