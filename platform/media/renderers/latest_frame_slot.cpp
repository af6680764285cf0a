#include "platform/media/renderers/latest_frame_slot.h"

#include <utility>

#include "platform/media/renderers/video_pane_window.h"

void LatestFrameSlot::Publish(std::shared_ptr<const VideoFrame> frame) {
    {
        std::lock_guard lock(slotMutex_);
        latest_.swap(frame);
    }
    Wake();
    // `frame` now holds the one replaced (if any); released here, outside the locks.
}

void LatestFrameSlot::SetPosition(const Position& position) {
    {
        std::lock_guard lock(slotMutex_);
        position_ = position;
    }
    Wake();
}

void LatestFrameSlot::Repaint() {
    Wake();
}

std::shared_ptr<const VideoFrame> LatestFrameSlot::Take() {
    std::lock_guard lock(slotMutex_);
    return std::exchange(latest_, nullptr);
}

LatestFrameSlot::Position LatestFrameSlot::GetPosition() const {
    std::lock_guard lock(slotMutex_);
    return position_;
}

void LatestFrameSlot::Detach() {
    std::lock_guard lock(windowMutex_);
    window_ = nullptr;
}

void LatestFrameSlot::Wake() {
    std::lock_guard lock(windowMutex_);
    if (window_) window_->FrameReady();
}
