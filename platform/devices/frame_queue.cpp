#include "platform/devices/frame_queue.h"

namespace devices {

void FrameQueue::Reset() {
    {
        std::lock_guard lock(mutex_);
        first_ = 0;
        count_ = 0;
        origin_.reset();
        stopped_ = false;
        ended_ = false;
        sending_ = false;
        abandoned_ = false;
    }
    sent_.notify_all();
}

void FrameQueue::Start(std::chrono::nanoseconds origin) {
    std::lock_guard lock(mutex_);
    if (!origin_) origin_ = origin;
}

void FrameQueue::Post(const FrameTick& tick) {
    {
        std::lock_guard lock(mutex_);
        if (!origin_ || tick.time < *origin_ || ended_) return;
        if (count_ == kCapacity) {
            first_ = (first_ + 1) % kCapacity;
            --count_;
        }
        ring_[(first_ + count_) % kCapacity] = tick;
        ++count_;
    }
    posted_.notify_one();
}

void FrameQueue::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    posted_.notify_all();
    sent_.notify_all();
}

void FrameQueue::End() {
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
    }
    posted_.notify_all();
    sent_.notify_all();
}

void FrameQueue::Abandon() {
    {
        std::lock_guard lock(mutex_);
        abandoned_ = true;
        sending_ = false;
    }
    sent_.notify_all();
}

FrameQueue::Take FrameQueue::TakeNext(FrameTick* tick) {
    std::unique_lock lock(mutex_);
    abandoned_ = false;
    if (sending_) {
        sending_ = false;
        if (count_ == 0) sent_.notify_all();
    }
    posted_.wait(lock, [this] { return stopped_ || ended_ || count_ > 0; });
    if (stopped_) return Take::Stopped;
    if (count_ == 0) return Take::Ended;
    *tick = ring_[first_];
    first_ = (first_ + 1) % kCapacity;
    --count_;
    sending_ = true;
    return Take::Tick;
}

bool FrameQueue::WaitUntilSent(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return sent_.wait_for(lock, timeout, [this] {
        return stopped_ || ended_ || abandoned_ || !origin_ || (count_ == 0 && !sending_);
    });
}

std::optional<std::chrono::nanoseconds> FrameQueue::Origin() {
    std::lock_guard lock(mutex_);
    return origin_;
}

}  // namespace devices
