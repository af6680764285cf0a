#include "platform/media/graph/device_moniker.h"

#include <new>

#include "platform/com/com_ptr.h"
#include "platform/com/runtime.h"
#include "platform/media/interfaces/ibase_filter.h"

HRESULT CDeviceMoniker::Create(std::u16string displayName, CPropertyBag::Values properties,
                               Binder binder, IMoniker** moniker) {
    if (!moniker) return E_POINTER;
    auto* object = new (std::nothrow)
        CDeviceMoniker(std::move(displayName), std::move(properties), std::move(binder));
    if (!object) return E_OUTOFMEMORY;
    object->AddRef();
    *moniker = object;
    return S_OK;
}

HRESULT CDeviceMoniker::CreateForClass(std::u16string displayName, std::u16string friendlyName,
                                       REFCLSID clsid, IMoniker** moniker) {
    CPropertyBag::Values values = {{u"FriendlyName", std::move(friendlyName)},
                                   {u"CLSID", guid::ToWide(clsid)}};
    const CLSID target = clsid;
    Binder binder = [target](IBaseFilter** filter) {
        return CoCreateInstance(target, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                reinterpret_cast<void**>(filter));
    };
    return Create(std::move(displayName), std::move(values), std::move(binder), moniker);
}

CDeviceMoniker::CDeviceMoniker(std::u16string displayName, CPropertyBag::Values properties,
                               Binder binder)
    : CUnknown(nullptr),
      displayName_(std::move(displayName)),
      properties_(std::move(properties)),
      binder_(std::move(binder)) {}

HRESULT CDeviceMoniker::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IMoniker) return GetInterface(static_cast<IMoniker*>(this), ppv);
    if (riid == IID_IPersistStream) return GetInterface(static_cast<IPersistStream*>(this), ppv);
    if (riid == IID_IPersist) return GetInterface(static_cast<IPersist*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CDeviceMoniker::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = CLSID_CDeviceMoniker;
    return S_OK;
}

HRESULT CDeviceMoniker::BindToObject(IBindCtx*, IMoniker*, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    ComPtr<IBaseFilter> filter;
    const HRESULT hr = binder_(filter.ReleaseAndGetAddressOf());
    if (FAILED(hr)) return hr;
    if (!filter) return E_FAIL;
    return filter->QueryInterface(riid, ppv);
}

HRESULT CDeviceMoniker::BindToStorage(IBindCtx*, IMoniker*, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    ComPtr<IPropertyBag> bag;
    const HRESULT hr = CPropertyBag::Create(properties_, bag.ReleaseAndGetAddressOf());
    if (FAILED(hr)) return hr;
    return bag->QueryInterface(riid, ppv);
}

HRESULT CDeviceMoniker::IsEqual(IMoniker* other) {
    if (!other) return S_FALSE;
    LPWSTR name = nullptr;
    if (FAILED(other->GetDisplayName(nullptr, nullptr, &name))) return S_FALSE;
    const bool same = displayName_ == name;
    CoTaskMemFree(name);
    return same ? S_OK : S_FALSE;
}

HRESULT CDeviceMoniker::GetDisplayName(IBindCtx*, IMoniker*, LPWSTR* name) {
    if (!name) return E_POINTER;
    const std::size_t bytes = (displayName_.size() + 1) * sizeof(WCHAR);
    *name = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*name) return E_OUTOFMEMORY;
    std::copy(displayName_.begin(), displayName_.end(), *name);
    (*name)[displayName_.size()] = 0;
    return S_OK;
}

HRESULT CDeviceMoniker::IsSystemMoniker(DWORD* kind) {
    if (kind) *kind = 0;  // MKSYS_NONE
    return S_FALSE;
}
