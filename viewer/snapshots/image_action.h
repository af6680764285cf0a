// CImageAction: one picture of a snapshot as the renderer showed it: packed rows of blue, green,
// red, bottom row first (the layout of a device-independent bitmap), with 3 bytes a pixel, or 4
// when the fourth byte of each pixel is to be ignored (the renderer's 32-bit pictures, taken over
// as they are so that no pass over the picture is spent on dropping that byte). WriteSnapshot
// writes it as a JPEG; the pixels are never changed.
//
// The pixels live in task memory (either allocated here or the renderer's own picture block,
// adopted whole), or they are the renderer's current picture itself, shared without a copy: then
// the rows are top row first, 4 bytes a pixel, and the picture cannot be changed.
//
// Threads: made and filled on the GUI thread, then handed over whole to the snapshot writer's
// thread, which writes and destroys it; one thread at a time, never shared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/base/win_types.h"

struct VideoFrame;

inline constexpr int kSnapshotQuality = 75;

class CImageAction {
  public:
    // A picture of width × height with `bytesPerPixel` (3 or 4) bytes a pixel, not cleared.
    CImageAction(std::uint32_t width, std::uint32_t height, int bytesPerPixel = 3);
    // Takes over `block` (task memory, freed with CoTaskMemFree) whose pixels start at `offset`.
    CImageAction(BYTE* block, std::size_t offset, std::uint32_t width, std::uint32_t height,
                 int bytesPerPixel);
    // Shares the renderer's picture `frame` (top row first, blue, green, red, ignored byte).
    explicit CImageAction(std::shared_ptr<const VideoFrame> frame);
    virtual ~CImageAction();
    CImageAction(const CImageAction&) = delete;
    CImageAction& operator=(const CImageAction&) = delete;

    // Null when the memory could not be had; the non-const one also for a shared picture.
    BYTE* Pixels() { return block_ ? block_.get() + offset_ : nullptr; }
    const BYTE* Pixels() const;
    bool TopRowFirst() const { return frame_ != nullptr; }
    std::uint32_t Width() const { return width_; }
    std::uint32_t Height() const { return height_; }
    int BytesPerPixel() const { return bytesPerPixel_; }

    // The picture as a JPEG of quality 75 at `fileName`, top row first, red, green, blue; the
    // pixels are left as they are. WriteJpeg's result: 1 written, 0 failed.
    int WriteSnapshot(const char* fileName) const;

  private:
    struct TaskMemoryFree {
        void operator()(BYTE* block) const;
    };

    // Owned by whichever thread holds the object (see above).
    std::unique_ptr<BYTE, TaskMemoryFree> block_;
    std::size_t offset_ = 0;
    std::shared_ptr<const VideoFrame> frame_;  // a shared picture, else null
    std::uint32_t width_;
    std::uint32_t height_;
    int bytesPerPixel_;
};
