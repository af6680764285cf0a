// BufferPool: buffers a capture thread fills (pictures, sound pieces), reused once every stream
// has let go of them, so that a running capture allocates no buffers (only the small share
// count that hands each one out).
//
// Thread-safe: the capture thread takes buffers; any streaming thread may drop the last
// reference, which puts the buffer back.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

namespace devices {

template <typename Buffer>
class BufferPool {
  public:
    BufferPool() : shelf_(std::make_shared<Shelf>()) {}

    // A buffer to fill: a free one (its storage keeps its size), or a new one.
    std::shared_ptr<Buffer> Take() {
        std::unique_ptr<Buffer> buffer;
        {
            std::lock_guard lock(shelf_->mutex);
            if (!shelf_->free.empty()) {
                buffer = std::move(shelf_->free.back());
                shelf_->free.pop_back();
            } else {
                ++shelf_->count;
            }
        }
        if (!buffer) buffer = std::make_unique<Buffer>();
        std::shared_ptr<Shelf> shelf = shelf_;
        return std::shared_ptr<Buffer>(buffer.release(), [shelf](Buffer* back) {
            std::unique_ptr<Buffer> owned(back);
            std::lock_guard lock(shelf->mutex);
            shelf->free.push_back(std::move(owned));
        });
    }
    // Buffers that exist (handed out or free).
    std::size_t Count() const {
        std::lock_guard lock(shelf_->mutex);
        return shelf_->count;
    }

  private:
    struct Shelf {
        // Guarded by mutex.
        mutable std::mutex mutex;
        std::vector<std::unique_ptr<Buffer>> free;
        std::size_t count = 0;
    };
    // Shared with the buffers handed out, which put themselves back on it.
    std::shared_ptr<Shelf> shelf_;
};

}  // namespace devices
