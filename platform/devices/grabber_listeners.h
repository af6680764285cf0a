// What the simulated grabber tells others: frames as the decoder produces them, and the device
// being removed or attached.
#pragma once

#include <chrono>

#include "platform/devices/device_broadcast.h"
#include "platform/devices/frame_tick.h"

namespace devices {

class FrameListener {
  public:
    // One decoder frame period, in device-time order. Called with the device's lock held, on
    // whichever thread moved the device forward: keep it short (hand the tick over and return),
    // and never call back into the device.
    virtual void OnFrameTick(const FrameTick& tick) = 0;
    // Waits, at most `timeout` for each of its streams, until the ticks handed over so far have
    // been passed on; true when they have. Called without the device's lock. A listener that
    // handles each tick within OnFrameTick has nothing to wait for.
    virtual bool WaitUntilPassedOn(std::chrono::milliseconds) { return true; }

  protected:
    ~FrameListener() = default;
};

class DeviceChangeListener {
  public:
    // `event` is DBT_DEVICEARRIVAL or DBT_DEVICEREMOVECOMPLETE; `record` is the device-interface
    // broadcast of the grabber (class KSCATEGORY_CAPTURE, a "\\?\USB#" device path), valid for
    // the call only. Called in event order without the device's lock, so the listener may use
    // the device; one call at a time.
    virtual void OnDeviceChange(UINT event, const DeviceBroadcast& record) = 0;

  protected:
    ~DeviceChangeListener() = default;
};

}  // namespace devices
