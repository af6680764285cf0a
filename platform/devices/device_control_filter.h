// CDeviceControlFilter: "QV Device Control" of the simulated grabber. It has no pins; it carries
// the device's private property set through IKsPropertySet.
#pragma once

#include <memory>

#include "platform/devices/grabber_device.h"
#include "platform/media/base/base_filter.h"
#include "platform/media/interfaces/iks_property_set.h"

namespace devices {

class CDeviceControlFilter final : public CBaseFilter, public IKsPropertySet {
  public:
    // A new filter on `device` with one reference for the caller.
    static HRESULT Create(std::shared_ptr<GrabberDevice> device, IBaseFilter** filter);

    DECLARE_IUNKNOWN
    // Adds IKsPropertySet.
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    int GetPinCount() override { return 0; }
    CBasePin* GetPin(int) override { return nullptr; }

    // IKsPropertySet: the device's property set (GrabberDevice::SetProperty and friends).
    HRESULT Set(REFGUID set, DWORD id, void* instance, DWORD instanceBytes, void* data,
                DWORD dataBytes) override;
    HRESULT Get(REFGUID set, DWORD id, void* instance, DWORD instanceBytes, void* data,
                DWORD dataBytes, DWORD* returned) override;
    HRESULT QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

  private:
    explicit CDeviceControlFilter(std::shared_ptr<GrabberDevice> device);
    ~CDeviceControlFilter() override = default;

    CCritSec lock_;  // the filter lock
    // Immutable; the device is thread-safe.
    const std::shared_ptr<GrabberDevice> device_;
};

}  // namespace devices
