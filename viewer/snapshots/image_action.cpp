#include "viewer/snapshots/image_action.h"

#include "viewer/snapshots/jpeg_writer.h"

CImageAction::CImageAction(std::uint32_t width, std::uint32_t height)
    : pixels_(static_cast<std::size_t>(width) * height * 3), width_(width), height_(height) {}

int CImageAction::WriteSnapshot(const char* fileName) const {
    // libjpeg takes the rows bottom-up and the bytes as blue, green, red, which writes exactly
    // the file of the reversed, byte-swapped picture without touching the buffer.
    return WriteJpegBottomUpBgr(fileName, pixels_.data(), width_, height_, kSnapshotQuality);
}
