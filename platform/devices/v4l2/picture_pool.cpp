#include "platform/devices/v4l2/picture_pool.h"

namespace devices {

PicturePool::PicturePool() : shelf_(std::make_shared<Shelf>()) {}

std::shared_ptr<FramePicture> PicturePool::Take() {
    std::unique_ptr<FramePicture> picture;
    {
        std::lock_guard lock(shelf_->mutex);
        if (!shelf_->free.empty()) {
            picture = std::move(shelf_->free.back());
            shelf_->free.pop_back();
        } else {
            ++shelf_->count;
        }
    }
    if (!picture) picture = std::make_unique<FramePicture>();
    std::shared_ptr<Shelf> shelf = shelf_;
    return std::shared_ptr<FramePicture>(picture.release(), [shelf](FramePicture* back) {
        std::unique_ptr<FramePicture> owned(back);
        std::lock_guard lock(shelf->mutex);
        shelf->free.push_back(std::move(owned));
    });
}

std::size_t PicturePool::Count() const {
    std::lock_guard lock(shelf_->mutex);
    return shelf_->count;
}

}  // namespace devices
