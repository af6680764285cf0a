// DeviceRegistry: the devices present at run time, by category, as the system device enumerator
// lists them. Device back-ends add their filters when a device is attached and remove them when
// it goes away. Process-wide; thread-safe.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/media/interfaces/ibase_filter.h"

class DeviceRegistry {
  public:
    // Creates the device's filter with a reference for the caller. Called on the thread that
    // binds the moniker, outside the registry's lock.
    using Creator = std::function<HRESULT(IBaseFilter** filter)>;
    using DeviceId = std::uint64_t;

    struct Device {
        DeviceId id;
        CLSID category;
        std::u16string friendlyName;
        Creator creator;
    };

    static DeviceRegistry& Instance();

    // Adds a device to `category`; later devices come after earlier ones, equal names allowed.
    // Returns the device's id (never 0).
    DeviceId Add(REFCLSID category, std::u16string friendlyName, Creator creator);
    // Removes a device; false when the id is unknown. Monikers already handed out then fail
    // to bind (VFW_E_NOT_FOUND).
    bool Remove(DeviceId id);
    // The devices of `category` in the order they were added.
    std::vector<Device> Devices(REFCLSID category) const;
    // Creates the filter of device `id`; VFW_E_NOT_FOUND when it is gone.
    HRESULT Create(DeviceId id, IBaseFilter** filter) const;

  private:
    DeviceRegistry() = default;

    mutable std::mutex mutex_;
    // Guarded by mutex_.
    std::vector<Device> devices_;
    DeviceId nextId_ = 1;
};
