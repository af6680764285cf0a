#include "platform/devices/real_time_pacer.h"

namespace devices {
namespace {

// The longest sleep, so that a device with nothing due still looks at its clock now and then.
constexpr auto kLongestWait = std::chrono::seconds(1);

}  // namespace

RealTimePacer::RealTimePacer(std::shared_ptr<SimulatedGrabber> device,
                             std::shared_ptr<const SteadyDeviceClock> clock)
    : device_(std::move(device)), clock_(std::move(clock)), thread_(&RealTimePacer::Run, this) {}

RealTimePacer::~RealTimePacer() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void RealTimePacer::Run() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
        lock.unlock();
        device_->Update();
        const std::chrono::nanoseconds next = device_->NextEventTime();
        lock.lock();
        const auto longest = std::chrono::steady_clock::now() + kLongestWait;
        const auto due =
            next == std::chrono::nanoseconds::max() ? longest : std::min(longest, clock_->At(next));
        wake_.wait_until(lock, due, [this] { return stop_; });
    }
}

}  // namespace devices
