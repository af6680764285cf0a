#include "platform/devices/filter_listing.h"

#include "platform/devices/crossbar_filter.h"
#include "platform/devices/device_control_filter.h"
#include "platform/devices/grabber_filter.h"
#include "platform/devices/grabber_identity.h"

namespace devices {

FilterListing::FilterListing(std::shared_ptr<GrabberDevice> device) : device_(std::move(device)) {}

FilterListing::~FilterListing() {
    Unlist();
}

bool FilterListing::Listed() {
    std::lock_guard lock(mutex_);
    return listed_[0] != 0;
}

void FilterListing::List() {
    std::lock_guard lock(mutex_);
    if (listed_[0] != 0) return;
    DeviceRegistry& registry = DeviceRegistry::Instance();
    const std::shared_ptr<GrabberDevice> device = device_;
    listed_[0] = registry.Add(kCrossbarCategory, kCrossbarName,
                              [](IBaseFilter** filter) { return CCrossbarFilter::Create(filter); });
    listed_[1] = registry.Add(kGrabberCategory, kGrabberName, [device](IBaseFilter** filter) {
        return CGrabberFilter::Create(device, filter);
    });
    listed_[2] = registry.Add(
        kDeviceControlCategory, kDeviceControlName,
        [device](IBaseFilter** filter) { return CDeviceControlFilter::Create(device, filter); });
}

void FilterListing::Unlist() {
    std::lock_guard lock(mutex_);
    for (DeviceRegistry::DeviceId& id : listed_) {
        if (id != 0) DeviceRegistry::Instance().Remove(id);
        id = 0;
    }
}

}  // namespace devices
