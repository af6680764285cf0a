#include "platform/media/graph/device_registry.h"

#include <algorithm>
#include <utility>

#include "platform/media/interfaces/media_errors.h"

DeviceRegistry& DeviceRegistry::Instance() {
    static DeviceRegistry registry;
    return registry;
}

DeviceRegistry::DeviceId DeviceRegistry::Add(REFCLSID category, std::u16string friendlyName,
                                             Creator creator) {
    std::lock_guard lock(mutex_);
    const DeviceId id = nextId_++;
    devices_.push_back({id, category, std::move(friendlyName), std::move(creator)});
    return id;
}

bool DeviceRegistry::Remove(DeviceId id) {
    std::lock_guard lock(mutex_);
    auto it = std::find_if(devices_.begin(), devices_.end(),
                           [id](const Device& d) { return d.id == id; });
    if (it == devices_.end()) return false;
    devices_.erase(it);
    return true;
}

std::vector<DeviceRegistry::Device> DeviceRegistry::Devices(REFCLSID category) const {
    std::lock_guard lock(mutex_);
    std::vector<Device> result;
    for (const Device& d : devices_)
        if (d.category == category) result.push_back(d);
    return result;
}

HRESULT DeviceRegistry::Create(DeviceId id, IBaseFilter** filter) const {
    if (!filter) return E_POINTER;
    *filter = nullptr;
    Creator creator;
    {
        std::lock_guard lock(mutex_);
        auto it = std::find_if(devices_.begin(), devices_.end(),
                               [id](const Device& d) { return d.id == id; });
        if (it == devices_.end()) return VFW_E_NOT_FOUND;
        creator = it->creator;
    }
    if (!creator) return E_FAIL;
    return creator(filter);
}
