#include "tests/support/device_lookup.h"

#include "platform/com/runtime.h"
#include "platform/media/interfaces/icreate_dev_enum.h"
#include "platform/media/interfaces/ienum_moniker.h"
#include "platform/media/interfaces/iproperty_bag.h"
#include "platform/media/interfaces/media_clsids.h"

namespace testing_support {

std::u16string FriendlyName(IMoniker* moniker) {
    ComPtr<IPropertyBag> bag;
    if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                      bag.ReleaseAndGetVoidAddressOf())))
        return {};
    VARIANT value;
    VariantInit(&value);
    std::u16string name;
    if (bag->Read(u"FriendlyName", &value, nullptr) == S_OK && value.vt == VT_BSTR)
        name.assign(value.bstrVal, SysStringLen(value.bstrVal));
    VariantClear(&value);
    return name;
}

ComPtr<IBaseFilter> FindDeviceFilter(REFCLSID category, std::u16string_view name) {
    ComPtr<ICreateDevEnum> devices;
    ComPtr<IEnumMoniker> monikers;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, &devices)) ||
        devices->CreateClassEnumerator(category, monikers.ReleaseAndGetAddressOf(), 0) != S_OK)
        return nullptr;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, moniker.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        if (FriendlyName(moniker.Get()) != name) continue;
        ComPtr<IBaseFilter> filter;
        if (FAILED(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter,
                                         filter.ReleaseAndGetVoidAddressOf())))
            return nullptr;
        return filter;
    }
    return nullptr;
}

}  // namespace testing_support
