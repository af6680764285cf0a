// PicturePool: the pictures a capture thread fills, reused once every stream has let go of
// them, so that a running capture allocates no picture buffers (only the small share count
// that hands each one out).
//
// Thread-safe: the capture thread takes pictures; any streaming thread may drop the last
// reference, which puts the picture back.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "platform/devices/frame_picture.h"

namespace devices {

class PicturePool {
  public:
    PicturePool();
    // A picture to fill: a free one, or a new one. Its buffer keeps the size it had.
    std::shared_ptr<FramePicture> Take();
    // Pictures that exist (handed out or free), for tests.
    std::size_t Count() const;

  private:
    struct Shelf {
        // Guarded by mutex.
        mutable std::mutex mutex;
        std::vector<std::unique_ptr<FramePicture>> free;
        std::size_t count = 0;
    };
    // Shared with the pictures handed out, which put themselves back on it.
    std::shared_ptr<Shelf> shelf_;
};

}  // namespace devices
