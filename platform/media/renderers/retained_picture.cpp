#include "platform/media/renderers/retained_picture.h"

#include <utility>

#include "platform/media/renderers/frame_convert.h"

namespace media {

RetainedPicture::RetainedPicture(const VideoInputFormat& format, ComPtr<IMediaSample> sample,
                                 const BYTE* data, std::shared_ptr<const OverlayPlan> overlay)
    : format_(format), overlay_(std::move(overlay)), sample_(std::move(sample)), data_(data) {}

RetainedPicture::RetainedPicture(const VideoInputFormat& format, const BYTE* data,
                                 std::shared_ptr<const OverlayPlan> overlay)
    : format_(format),
      overlay_(std::move(overlay)),
      copy_(data, data + format.FrameBytes()),
      data_(copy_.data()) {}

RetainedPicture::RetainedPicture(std::shared_ptr<const VideoFrame> picture)
    : picture_(std::move(picture)) {}

std::shared_ptr<const VideoFrame> RetainedPicture::Picture() {
    std::lock_guard lock(lock_);
    return PictureLocked();
}

void RetainedPicture::ReleaseFrame() {
    ComPtr<IMediaSample> sample;
    {
        std::lock_guard lock(lock_);
        PictureLocked();
        data_ = nullptr;
        sample = std::move(sample_);
        copy_ = std::vector<BYTE>();
    }
    // `sample` goes back to its allocator here, outside the lock.
}

std::shared_ptr<const VideoFrame> RetainedPicture::PictureLocked() {
    if (picture_ || !data_) return picture_;
    auto picture = std::make_shared<VideoFrame>();
    picture->Resize(format_.width, format_.height);
    ConvertFrame(format_, data_, picture->pixels.data());
    if (overlay_) {
        const RECT whole{0, 0, format_.width, format_.height};
        const std::shared_ptr<const AlphaOverlay> overlay =
            overlay_->For(whole, format_.width, format_.height, format_.width, format_.height);
        if (overlay && overlay->Fits(*picture)) overlay->Blend(*picture);
    }
    picture_ = std::move(picture);
    return picture_;
}

}  // namespace media
