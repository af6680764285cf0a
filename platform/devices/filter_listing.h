// FilterListing: the three device filters of one grabber device on the run-time device list.
// Listing registers "QV BDA Crossbar Filter", "QVD Grabber Device" and "QV Device Control" under
// their categories (monikers with their "FriendlyName" that bind to new filters on the shared
// device); unlisting takes them off again. Filters already made keep working on the device.
//
// Thread-safe.
#pragma once

#include <array>
#include <memory>
#include <mutex>

#include "platform/devices/grabber_device.h"
#include "platform/media/graph/device_registry.h"

namespace devices {

class FilterListing {
  public:
    explicit FilterListing(std::shared_ptr<GrabberDevice> device);
    // Unlists.
    ~FilterListing();
    FilterListing(const FilterListing&) = delete;
    FilterListing& operator=(const FilterListing&) = delete;

    // Both do nothing when the filters already are (or are not) on the list.
    void List();
    void Unlist();
    bool Listed();

  private:
    const std::shared_ptr<GrabberDevice> device_;  // immutable
    // Guarded by mutex_.
    std::mutex mutex_;
    std::array<DeviceRegistry::DeviceId, 3> listed_{};  // 0: not listed
};

}  // namespace devices
