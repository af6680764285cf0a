// DeviceChangeDispatcher: hands a device's arrivals and removals to its change listeners, in
// event order, one call at a time, with the device's broadcast record. Events are posted where
// they are noticed (under the device's lock) and delivered later without it, so that a
// listener may call back into the device.
//
// Thread-safe.
#pragma once

#include <deque>
#include <mutex>
#include <string_view>
#include <vector>

#include "platform/devices/device_broadcast.h"
#include "platform/devices/grabber_listeners.h"

namespace devices {

class DeviceChangeDispatcher {
  public:
    // The record names a capture device (KSCATEGORY_CAPTURE) at `devicePath`.
    explicit DeviceChangeDispatcher(std::u16string_view devicePath);

    // A listener may add and remove listeners (itself too) from inside its call. Remove
    // returns only when no call to the listener is running on another thread.
    void Add(DeviceChangeListener* listener);
    void Remove(DeviceChangeListener* listener);

    // Queues DBT_DEVICEARRIVAL or DBT_DEVICEREMOVECOMPLETE. Never calls a listener.
    void Post(UINT event);
    // Delivers what is queued, unless another thread is delivering at the moment (that thread
    // then delivers this thread's events too). Call without the device's lock.
    void Deliver();

  private:
    const DeviceBroadcast broadcast_;  // immutable
    // Guarded by queueMutex_.
    std::mutex queueMutex_;
    std::deque<UINT> pending_;
    bool delivering_ = false;
    // Guarded by listenersMutex_, held while one event is delivered; recursive, so that a
    // listener may register and unregister listeners from its call.
    std::recursive_mutex listenersMutex_;
    std::vector<DeviceChangeListener*> listeners_;
    std::vector<DeviceChangeListener*> deliveryList_;
};

}  // namespace devices
