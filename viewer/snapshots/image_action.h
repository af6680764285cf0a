// CImageAction: one picture of a snapshot, as the renderer showed it: packed rows of blue, green,
// red, bottom row first (the layout of a 24-bit device-independent bitmap), width × height × 3
// bytes allocated at construction. WriteSnapshot writes it as a JPEG.
//
// Threads: made and filled on the GUI thread, then handed over whole to the snapshot writer's
// thread, which writes and destroys it; one thread at a time, never shared.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/win_types.h"

inline constexpr int kSnapshotQuality = 75;

class CImageAction {
  public:
    CImageAction(std::uint32_t width, std::uint32_t height);
    virtual ~CImageAction() = default;
    CImageAction(const CImageAction&) = delete;
    CImageAction& operator=(const CImageAction&) = delete;

    BYTE* Pixels() { return pixels_.data(); }
    const BYTE* Pixels() const { return pixels_.data(); }
    std::uint32_t Width() const { return width_; }
    std::uint32_t Height() const { return height_; }

    // The picture as a JPEG of quality 75 at `fileName`, top row first in red, green, blue; the
    // pixels are left as they are. WriteJpeg's result: 1 written, 0 failed.
    int WriteSnapshot(const char* fileName) const;

  private:
    // Owned by whichever thread holds the object (see above).
    std::vector<BYTE> pixels_;
    std::uint32_t width_;
    std::uint32_t height_;
};
