// OverlayPlan: the alpha bitmap of a video renderer with the parameters it was given, from which
// the AlphaOverlay for a picture of any size is built when first needed. The renderer shows the
// video at its pane's size and makes the full-size picture only on request, so the one bitmap is
// laid over pictures of two sizes; each size's overlay is built once and kept.
//
// Threads: immutable but for the kept overlays, which are guarded by cacheLock_; For may be
// called from any thread.
#pragma once

#include <memory>
#include <mutex>

#include "platform/media/renderers/alpha_overlay.h"

namespace media {

class OverlayPlan {
  public:
    // As AlphaOverlay::Build: part `crop` of `bitmap` goes to `destination`, in fractions of the
    // whole video.
    OverlayPlan(std::shared_ptr<const OverlaySource> bitmap, const RECT& crop,
                const VMR9NormalizedRect& destination, float alpha, bool useKey, COLORREF key);

    // The overlay for a `width` × `height` picture of part `shown` (not empty) of a
    // `videoWidth` × `videoHeight` video.
    std::shared_ptr<const AlphaOverlay> For(const RECT& shown, LONG videoWidth, LONG videoHeight,
                                            LONG width, LONG height) const;

  private:
    struct Kept {
        RECT shown{0, 0, 0, 0};
        LONG videoWidth = 0;
        LONG videoHeight = 0;
        LONG width = 0;
        LONG height = 0;
        std::shared_ptr<const AlphaOverlay> overlay;
    };

    // Set at construction.
    const std::shared_ptr<const OverlaySource> bitmap_;
    const RECT crop_;
    const VMR9NormalizedRect destination_;
    const float alpha_;
    const bool useKey_;
    const COLORREF key_;

    mutable std::mutex cacheLock_;  // guards kept_ and next_
    mutable Kept kept_[2];          // the pane's size and the full size, as they come
    mutable int next_ = 0;          // the entry the next new size replaces
};

}  // namespace media
