#include "viewer/snapshots/image_action.h"

#include "platform/com/runtime.h"
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

int CImageAction::WriteSnapshot(const char* fileName) const {
    // libjpeg takes the rows bottom-up and the bytes as blue, green, red (skipping a fourth),
    // which writes exactly the file of the reversed, byte-swapped 24-bit picture without a
    // copy and without touching the pixels.
    return WriteJpegBottomUpBgr(fileName, Pixels(), width_, height_, bytesPerPixel_,
                                kSnapshotQuality);
}
