#include "viewer/snapshots/image_action.h"

#include "platform/com/runtime.h"
#include "platform/media/renderers/video_frame.h"
#include "viewer/snapshots/jpeg_writer.h"

void CImageAction::TaskMemoryFree::operator()(BYTE* block) const {
    CoTaskMemFree(block);
}

CImageAction::CImageAction(std::uint32_t width, std::uint32_t height, int bytesPerPixel)
    : block_(static_cast<BYTE*>(
          CoTaskMemAlloc(static_cast<std::size_t>(width) * height * bytesPerPixel))),
      width_(width),
      height_(height),
      bytesPerPixel_(bytesPerPixel) {}

CImageAction::CImageAction(BYTE* block, std::size_t offset, std::uint32_t width,
                           std::uint32_t height, int bytesPerPixel)
    : block_(block),
      offset_(offset),
      width_(width),
      height_(height),
      bytesPerPixel_(bytesPerPixel) {}

CImageAction::CImageAction(std::shared_ptr<const VideoFrame> frame)
    : frame_(std::move(frame)),
      width_(frame_ ? static_cast<std::uint32_t>(frame_->width) : 0),
      height_(frame_ ? static_cast<std::uint32_t>(frame_->height) : 0),
      bytesPerPixel_(4) {}

CImageAction::~CImageAction() = default;

const BYTE* CImageAction::Pixels() const {
    if (frame_)
        return frame_->pixels.empty() ? nullptr : reinterpret_cast<const BYTE*>(frame_->Row(0));
    return block_ ? block_.get() + offset_ : nullptr;
}

int CImageAction::WriteSnapshot(const char* fileName) const {
    if (frame_) return WriteJpegTopDownBgrx(fileName, Pixels(), width_, height_, kSnapshotQuality);
    // libjpeg takes the rows bottom-up and the bytes as blue, green, red (skipping a fourth),
    // which writes exactly the file of the reversed, byte-swapped 24-bit picture without a
    // copy and without touching the pixels.
    return WriteJpegBottomUpBgr(fileName, Pixels(), width_, height_, bytesPerPixel_,
                                kSnapshotQuality);
}
