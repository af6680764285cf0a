#include "platform/media/graph/system_device_enum.h"

#include <new>
#include <string>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/media/base/snapshot_enum.h"
#include "platform/media/graph/device_moniker.h"
#include "platform/media/graph/device_registry.h"
#include "platform/media/graph/registry_text.h"
#include "platform/media/interfaces/ienum_moniker.h"
#include "platform/media/interfaces/media_clsids.h"

namespace {

struct BuiltinFilter {
    const CLSID* category;
    const char16_t* friendlyName;
    const CLSID* clsid;
};

// Built-in filters that the enumerator lists after the run-time devices.
const BuiltinFilter kBuiltinFilters[] = {
    {&CLSID_LegacyAmFilterCategory, u"Infinite Pin Tee Filter", &CLSID_InfTee},
    {&CLSID_LegacyAmFilterCategory, u"Video Mixing Renderer 9", &CLSID_VideoMixingRenderer9},
    {&CLSID_AudioRendererCategory, u"Default Audio Device", &CLSID_DSoundRender},
};

void AddRuntimeDevices(REFCLSID category, std::vector<ComPtr<IMoniker>>* list) {
    for (const DeviceRegistry::Device& device : DeviceRegistry::Instance().Devices(category)) {
        const DeviceRegistry::DeviceId id = device.id;
        const std::string number = std::to_string(id);
        const std::u16string display = u"@device:rt:" + guid::ToWide(category) + u"\\" +
                                       std::u16string(number.begin(), number.end());
        ComPtr<IMoniker> moniker;
        if (SUCCEEDED(CDeviceMoniker::Create(
                display, {{u"FriendlyName", device.friendlyName}},
                [id](IBaseFilter** filter) {
                    return DeviceRegistry::Instance().Create(id, filter);
                },
                moniker.ReleaseAndGetAddressOf())))
            list->push_back(std::move(moniker));
    }
}

void AddBuiltinFilters(REFCLSID category, std::vector<ComPtr<IMoniker>>* list) {
    for (const BuiltinFilter& entry : kBuiltinFilters) {
        if (*entry.category != category) continue;
        ComPtr<IMoniker> moniker;
        const std::u16string display =
            u"@device:sw:" + guid::ToWide(category) + u"\\" + guid::ToWide(*entry.clsid);
        if (SUCCEEDED(CDeviceMoniker::CreateForClass(display, entry.friendlyName, *entry.clsid,
                                                     moniker.ReleaseAndGetAddressOf())))
            list->push_back(std::move(moniker));
    }
}

void AddRegisteredFilters(REFCLSID category, std::vector<ComPtr<IMoniker>>* list) {
    media::ScopedKey instances;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, media::InstanceKeyPath(category).c_str(), 0, KEY_READ,
                      instances.Receive()) != ERROR_SUCCESS)
        return;
    for (DWORD index = 0;; ++index) {
        WCHAR name[256];
        DWORD chars = 256;
        if (RegEnumKeyExW(instances.Get(), index, name, &chars, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS)
            break;
        media::ScopedKey instance;
        if (RegOpenKeyExW(instances.Get(), name, 0, KEY_READ, instance.Receive()) != ERROR_SUCCESS)
            continue;
        const auto clsidText = media::ReadText(instance.Get(), u"CLSID");
        const auto clsid = clsidText ? guid::Parse(std::u16string_view(*clsidText)) : std::nullopt;
        if (!clsid) continue;  // not a usable record
        const std::u16string friendly =
            media::ReadText(instance.Get(), u"FriendlyName").value_or(std::u16string());
        const std::u16string display =
            u"@device:sw:" + guid::ToWide(category) + u"\\" + std::u16string(name, chars);
        ComPtr<IMoniker> moniker;
        if (SUCCEEDED(CDeviceMoniker::CreateForClass(display, friendly, *clsid,
                                                     moniker.ReleaseAndGetAddressOf())))
            list->push_back(std::move(moniker));
    }
}

}  // namespace

CUnknown* CSystemDeviceEnum::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* object = new (std::nothrow) CSystemDeviceEnum(outer);
    if (!object && hr) *hr = E_OUTOFMEMORY;
    return object;
}

HRESULT CSystemDeviceEnum::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_ICreateDevEnum) return GetInterface(static_cast<ICreateDevEnum*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CSystemDeviceEnum::CreateClassEnumerator(REFCLSID category, IEnumMoniker** monikers,
                                                 DWORD /*flags*/) {
    if (!monikers) return E_POINTER;
    *monikers = nullptr;
    std::vector<ComPtr<IMoniker>> list;
    AddRuntimeDevices(category, &list);
    AddBuiltinFilters(category, &list);
    AddRegisteredFilters(category, &list);
    if (list.empty()) return S_FALSE;
    return CSnapshotEnum<IEnumMoniker, IMoniker>::Create(std::move(list), monikers);
}
