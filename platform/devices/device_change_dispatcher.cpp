#include "platform/devices/device_change_dispatcher.h"

#include <algorithm>

namespace devices {

DeviceChangeDispatcher::DeviceChangeDispatcher(std::u16string_view devicePath)
    : broadcast_(KSCATEGORY_CAPTURE, devicePath) {}

void DeviceChangeDispatcher::Add(DeviceChangeListener* listener) {
    std::lock_guard lock(listenersMutex_);
    listeners_.push_back(listener);
}

void DeviceChangeDispatcher::Remove(DeviceChangeListener* listener) {
    std::lock_guard lock(listenersMutex_);
    std::erase(listeners_, listener);
}

void DeviceChangeDispatcher::Post(UINT event) {
    std::lock_guard lock(queueMutex_);
    pending_.push_back(event);
}

void DeviceChangeDispatcher::Deliver() {
    {
        std::lock_guard lock(queueMutex_);
        if (delivering_ || pending_.empty()) return;
        delivering_ = true;
    }
    while (true) {
        UINT event;
        {
            std::lock_guard lock(queueMutex_);
            if (pending_.empty()) {
                delivering_ = false;
                return;
            }
            event = pending_.front();
            pending_.pop_front();
        }
        std::lock_guard listeners(listenersMutex_);
        // Call the listeners registered now that are still registered when their turn comes.
        deliveryList_ = listeners_;
        for (DeviceChangeListener* listener : deliveryList_)
            if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end())
                listener->OnDeviceChange(event, broadcast_);
    }
}

}  // namespace devices
