// The simulated device's sense of time: device time counted from the device's start. In the
// program it follows the steady clock; tests set it by hand, so that search states, scenario
// events and frames are stepped, never waited for.
#pragma once

#include <atomic>
#include <chrono>

namespace devices {

class DeviceClock {
  public:
    virtual ~DeviceClock() = default;
    // Time since the device started; never goes backwards. Any thread.
    virtual std::chrono::nanoseconds Now() const = 0;
};

// Real time: the steady clock, counted from construction.
class SteadyDeviceClock final : public DeviceClock {
  public:
    SteadyDeviceClock() : start_(std::chrono::steady_clock::now()) {}
    std::chrono::nanoseconds Now() const override {
        return std::chrono::steady_clock::now() - start_;
    }
    // The steady-clock instant of device time `t`, for waiting until it.
    std::chrono::steady_clock::time_point At(std::chrono::nanoseconds t) const {
        return start_ + t;
    }

  private:
    const std::chrono::steady_clock::time_point start_;
};

// Time that moves only when told to; starts at 0.
class ManualDeviceClock final : public DeviceClock {
  public:
    std::chrono::nanoseconds Now() const override { return std::chrono::nanoseconds(now_.load()); }
    // Moves to `t`; a time before the current one is ignored (device time never goes back).
    void Set(std::chrono::nanoseconds t) {
        std::int64_t current = now_.load();
        while (t.count() > current && !now_.compare_exchange_weak(current, t.count())) {
        }
    }
    void Advance(std::chrono::nanoseconds d) { now_ += d.count(); }

  private:
    std::atomic<std::int64_t> now_{0};
};

}  // namespace devices
