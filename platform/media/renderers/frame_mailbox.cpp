#include "platform/media/renderers/frame_mailbox.h"

#include <utility>

#include "platform/media/renderers/video_pane_window.h"

void FrameMailbox::Publish(std::shared_ptr<const VideoFrame> frame) {
    {
        std::lock_guard lock(slotMutex_);
        latest_.swap(frame);
    }
    Wake();
    // `frame` now holds the one replaced (if any); released here, outside the locks.
}

void FrameMailbox::SetPosition(const Position& position) {
    {
        std::lock_guard lock(slotMutex_);
        position_ = position;
    }
    Wake();
}

void FrameMailbox::Repaint() {
    Wake();
}

std::shared_ptr<const VideoFrame> FrameMailbox::Take() {
    std::lock_guard lock(slotMutex_);
    return std::exchange(latest_, nullptr);
}

FrameMailbox::Position FrameMailbox::GetPosition() const {
    std::lock_guard lock(slotMutex_);
    return position_;
}

void FrameMailbox::Detach() {
    std::lock_guard lock(windowMutex_);
    window_ = nullptr;
}

void FrameMailbox::Wake() {
    std::lock_guard lock(windowMutex_);
    if (window_) window_->FrameReady();
}
