#include "viewer/channels/pane_pictures.h"

#include <cstddef>

#include "viewer/channels/channel_mask.h"

namespace channel_views {
namespace {

// `picture` in the panes whose channel bit is set in `mask`.
PanePictures PicturesOf(std::uint32_t mask, PanePicture picture) {
    PanePictures pictures{};
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        if (HasChannel(mask, channel)) pictures[static_cast<std::size_t>(channel - 1)] = picture;
    }
    return pictures;
}

}  // namespace

PanePictures ClosedPanes(std::uint32_t enabled) {
    return PicturesOf(~enabled, PanePicture::kClosed);
}

PanePictures NoSignalPanes(std::uint32_t enabled, std::uint32_t mask) {
    return PicturesOf(enabled & ~mask, PanePicture::kNoSignal);
}

PanePictures LostSignalPanes(std::uint32_t enabled, std::uint32_t mask, std::int32_t baseline) {
    if (baseline == -1) return PanePictures{};
    return PicturesOf(enabled & ~mask & static_cast<std::uint32_t>(baseline),
                      PanePicture::kLostSignal);
}

PanePictures PaintOver(const PanePictures& below, const PanePictures& above) {
    PanePictures pictures = below;
    for (std::size_t k = 0; k < pictures.size(); ++k) {
        if (above[k] != PanePicture::kNone) pictures[k] = above[k];
    }
    return pictures;
}

}  // namespace channel_views
