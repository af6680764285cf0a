#include "platform/devices/device_control_filter.h"

#include "platform/devices/grabber_identity.h"

namespace devices {

HRESULT CDeviceControlFilter::Create(std::shared_ptr<GrabberDevice> device, IBaseFilter** filter) {
    if (!filter) return E_POINTER;
    *filter = nullptr;
    if (!device) return E_INVALIDARG;
    ComPtr<CDeviceControlFilter> created;
    created.Attach(new CDeviceControlFilter(std::move(device)));
    created->AddRef();
    *filter = static_cast<IBaseFilter*>(created.Detach());
    return S_OK;
}

CDeviceControlFilter::CDeviceControlFilter(std::shared_ptr<GrabberDevice> device)
    : CBaseFilter("device control", nullptr, &lock_, CLSID_SimulatedDeviceControl),
      device_(std::move(device)) {}

HRESULT CDeviceControlFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IKsPropertySet) return GetInterface(static_cast<IKsPropertySet*>(this), ppv);
    return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CDeviceControlFilter::Set(REFGUID set, DWORD id, void* instance, DWORD instanceBytes,
                                  void* data, DWORD dataBytes) {
    return device_->SetProperty(set, id, instance, instanceBytes, data, dataBytes);
}

HRESULT CDeviceControlFilter::Get(REFGUID set, DWORD id, void* instance, DWORD instanceBytes,
                                  void* data, DWORD dataBytes, DWORD* returned) {
    return device_->GetProperty(set, id, instance, instanceBytes, data, dataBytes, returned);
}

HRESULT CDeviceControlFilter::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
    return device_->QuerySupported(set, id, support);
}

}  // namespace devices
