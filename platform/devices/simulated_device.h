// The simulated grabber as the program sees it: one device with its three filters listed by the
// system device enumerator while the device is attached. Attaching registers "QVD Grabber
// Device", "QV BDA Crossbar Filter" and "QV Device Control" with the run-time device list
// (monikers with their "FriendlyName" that bind to new filters on the one shared device);
// removal takes them off the list, ends the streams of the grabber filters and tells the
// device-change listeners (with the broadcast record of a "\\?\USB#" capture device).
#pragma once

#include <memory>

#include "platform/devices/filter_listing.h"
#include "platform/devices/real_time_pacer.h"
#include "platform/devices/simulated_grabber.h"

namespace devices {

class SimulatedDevice final : private DeviceChangeListener {
  public:
    // The device on real time: the steady clock from now, moved forward by its own thread.
    explicit SimulatedDevice(Scenario scenario);

    // The device on `clock`, which its owner moves (tests step a ManualDeviceClock and call
    // Grabber().Update()); no thread of its own.
    SimulatedDevice(Scenario scenario, std::shared_ptr<const DeviceClock> clock);
    // Takes the filters off the device list and stops the pacer. Filters already made keep
    // working on the shared device.
    ~SimulatedDevice();
    SimulatedDevice(const SimulatedDevice&) = delete;
    SimulatedDevice& operator=(const SimulatedDevice&) = delete;

    SimulatedGrabber& Grabber() { return *grabber_; }
    // Whether the three filters are on the device list now.
    bool Listed();

  private:
    SimulatedDevice(Scenario scenario, std::shared_ptr<const DeviceClock> clock,
                    std::shared_ptr<const SteadyDeviceClock> steady);
    void OnDeviceChange(UINT event, const DeviceBroadcast& record) override;

    // Immutable after construction.
    const std::shared_ptr<SimulatedGrabber> grabber_;
    // Thread-safe (changed by device-change calls and by construction and destruction).
    FilterListing listing_;
    // Owner's thread; null without real time. Declared last: it stops first.
    std::unique_ptr<RealTimePacer> pacer_;
};

}  // namespace devices
