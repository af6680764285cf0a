// Runs a simulated grabber on real time: a thread that sleeps until the device's next event
// (a frame, a scenario event, the end of a search) on the steady clock and moves the device
// there, so that frames leave at their rate and arrivals and removals happen on time.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/devices/device_clock.h"
#include "platform/devices/simulated_grabber.h"

namespace devices {

class RealTimePacer {
  public:
    // Starts at once. `device` must run on `clock`; both are shared with the pacer's thread.
    RealTimePacer(std::shared_ptr<SimulatedGrabber> device,
                  std::shared_ptr<const SteadyDeviceClock> clock);
    // Stops and joins the thread.
    ~RealTimePacer();
    RealTimePacer(const RealTimePacer&) = delete;
    RealTimePacer& operator=(const RealTimePacer&) = delete;

  private:
    void Run();

    // Immutable.
    const std::shared_ptr<SimulatedGrabber> device_;
    const std::shared_ptr<const SteadyDeviceClock> clock_;
    // Guarded by mutex_.
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    // Owner's thread (started in the constructor, joined in the destructor).
    std::thread thread_;
};

}  // namespace devices
