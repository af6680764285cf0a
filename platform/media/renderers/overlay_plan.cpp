#include "platform/media/renderers/overlay_plan.h"

#include <utility>

namespace media {

OverlayPlan::OverlayPlan(std::shared_ptr<const OverlaySource> bitmap, const RECT& crop,
                         const VMR9NormalizedRect& destination, float alpha, bool useKey,
                         COLORREF key)
    : bitmap_(std::move(bitmap)),
      crop_(crop),
      destination_(destination),
      alpha_(alpha),
      useKey_(useKey),
      key_(key) {}

std::shared_ptr<const AlphaOverlay> OverlayPlan::For(const RECT& shown, LONG videoWidth,
                                                     LONG videoHeight, LONG width,
                                                     LONG height) const {
    const auto same = [&](const Kept& k) {
        return k.overlay && k.shown.left == shown.left && k.shown.top == shown.top &&
               k.shown.right == shown.right && k.shown.bottom == shown.bottom &&
               k.videoWidth == videoWidth && k.videoHeight == videoHeight && k.width == width &&
               k.height == height;
    };
    {
        std::lock_guard lock(cacheLock_);
        for (const Kept& k : kept_)
            if (same(k)) return k.overlay;
    }
    // The destination in fractions of the part shown: the picture's pixels are that part's.
    const double shownWidth = shown.right - shown.left;
    const double shownHeight = shown.bottom - shown.top;
    const auto across = [&](float f) {
        return static_cast<float>((f * static_cast<double>(videoWidth) - shown.left) / shownWidth);
    };
    const auto down = [&](float f) {
        return static_cast<float>((f * static_cast<double>(videoHeight) - shown.top) / shownHeight);
    };
    const VMR9NormalizedRect inPicture{across(destination_.left), down(destination_.top),
                                       across(destination_.right), down(destination_.bottom)};
    std::shared_ptr<const AlphaOverlay> overlay =
        AlphaOverlay::Build(*bitmap_, crop_, inPicture, alpha_, useKey_, key_, width, height);

    std::lock_guard lock(cacheLock_);
    kept_[next_] = {shown, videoWidth, videoHeight, width, height, overlay};
    next_ = 1 - next_;
    return overlay;
}

}  // namespace media
