#include "platform/media/graph/filter_mapper.h"

#include <new>
#include <string>

#include "platform/com/com_ptr.h"
#include "platform/media/graph/device_moniker.h"
#include "platform/media/graph/registry_text.h"
#include "platform/media/interfaces/media_clsids.h"

namespace {

std::u16string Number(unsigned n) {
    const std::string text = std::to_string(n);
    return std::u16string(text.begin(), text.end());
}

std::u16string InstanceName(LPCWSTR instance, REFCLSID filter) {
    return instance && *instance ? std::u16string(instance) : guid::ToWide(filter);
}

// Writes one pin of a record under `pins`\<index>.
LONG WritePin(HKEY pins, unsigned index, const REGFILTERPINS& pin) {
    media::ScopedKey key;
    LONG rc = RegCreateKeyExW(pins, Number(index).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    const std::u16string name = pin.strName ? std::u16string(pin.strName) : std::u16string();
    if ((rc = media::WriteText(key.Get(), u"Name", name)) != ERROR_SUCCESS) return rc;
    if ((rc = media::WriteNumber(key.Get(), u"Output", pin.bOutput ? 1 : 0)) != ERROR_SUCCESS)
        return rc;
    if ((rc = media::WriteNumber(key.Get(), u"Rendered", pin.bRendered ? 1 : 0)) != ERROR_SUCCESS)
        return rc;
    if ((rc = media::WriteNumber(key.Get(), u"Zero", pin.bZero ? 1 : 0)) != ERROR_SUCCESS)
        return rc;
    if ((rc = media::WriteNumber(key.Get(), u"Many", pin.bMany ? 1 : 0)) != ERROR_SUCCESS)
        return rc;
    if (pin.clsConnectsToFilter &&
        (rc = media::WriteText(key.Get(), u"ConnectsToFilter",
                               guid::ToWide(*pin.clsConnectsToFilter))) != ERROR_SUCCESS)
        return rc;
    if (pin.strConnectsToPin &&
        (rc = media::WriteText(key.Get(), u"ConnectsToPin", pin.strConnectsToPin)) != ERROR_SUCCESS)
        return rc;
    for (UINT t = 0; t < pin.nMediaTypes && pin.lpMediaType; ++t) {
        media::ScopedKey type;
        const std::u16string path = u"Types\\" + Number(t);
        rc = RegCreateKeyExW(key.Get(), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_ALL_ACCESS, nullptr, type.Receive(), nullptr);
        if (rc != ERROR_SUCCESS) return rc;
        const REGPINTYPES& types = pin.lpMediaType[t];
        rc = media::WriteText(type.Get(), u"Major",
                              guid::ToWide(types.clsMajorType ? *types.clsMajorType : GUID_NULL));
        if (rc != ERROR_SUCCESS) return rc;
        rc = media::WriteText(type.Get(), u"Minor",
                              guid::ToWide(types.clsMinorType ? *types.clsMinorType : GUID_NULL));
        if (rc != ERROR_SUCCESS) return rc;
    }
    return ERROR_SUCCESS;
}

LONG WriteRecord(const std::u16string& path, REFCLSID filter, LPCWSTR name,
                 const REGFILTER2& record) {
    media::ScopedKey key;
    LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    if ((rc = media::WriteText(key.Get(), u"FriendlyName", name)) != ERROR_SUCCESS) return rc;
    if ((rc = media::WriteText(key.Get(), u"CLSID", guid::ToWide(filter))) != ERROR_SUCCESS)
        return rc;
    if ((rc = media::WriteNumber(key.Get(), u"Merit", record.dwMerit)) != ERROR_SUCCESS) return rc;
    if (record.cPins == 0) return ERROR_SUCCESS;
    media::ScopedKey pins;
    rc = RegCreateKeyExW(key.Get(), u"Pins", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                         nullptr, pins.Receive(), nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    for (ULONG i = 0; i < record.cPins; ++i)
        if ((rc = WritePin(pins.Get(), i, record.rgPins[i])) != ERROR_SUCCESS) return rc;
    return ERROR_SUCCESS;
}

}  // namespace

CUnknown* CFilterMapper2::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* object = new (std::nothrow) CFilterMapper2(outer);
    if (!object && hr) *hr = E_OUTOFMEMORY;
    return object;
}

HRESULT CFilterMapper2::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IFilterMapper2) return GetInterface(static_cast<IFilterMapper2*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CFilterMapper2::CreateCategory(REFCLSID category, DWORD merit, LPCWSTR description) {
    media::ScopedKey key;
    const std::u16string path = u"CLSID\\" + guid::ToWide(category);
    LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr);
    if (rc == ERROR_SUCCESS)
        rc = media::WriteText(key.Get(), u"FriendlyName", description ? description : u"");
    if (rc == ERROR_SUCCESS) rc = media::WriteNumber(key.Get(), u"Merit", merit);
    return HRESULT_FROM_WIN32(rc);
}

HRESULT CFilterMapper2::UnregisterFilter(const CLSID* category, LPCWSTR instance, REFCLSID filter) {
    const std::u16string path =
        media::InstanceKeyPath(category ? *category : CLSID_LegacyAmFilterCategory) + u"\\" +
        InstanceName(instance, filter);
    const LONG rc = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
    return rc == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(rc);
}

HRESULT CFilterMapper2::RegisterFilter(REFCLSID filter, LPCWSTR name, IMoniker** moniker,
                                       const CLSID* category, LPCWSTR instance,
                                       const REGFILTER2* record) {
    if (moniker) *moniker = nullptr;
    if (!name || !record || record->dwVersion != 1) return E_INVALIDARG;
    if (record->cPins > 0 && !record->rgPins) return E_INVALIDARG;
    const CLSID& where = category ? *category : CLSID_LegacyAmFilterCategory;
    const std::u16string instanceName = InstanceName(instance, filter);
    const std::u16string path = media::InstanceKeyPath(where) + u"\\" + instanceName;
    const LONG removed = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
    if (removed != ERROR_SUCCESS && removed != ERROR_FILE_NOT_FOUND)
        return HRESULT_FROM_WIN32(removed);
    const LONG rc = WriteRecord(path, filter, name, *record);
    if (rc != ERROR_SUCCESS) {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
        return HRESULT_FROM_WIN32(rc);
    }
    if (!moniker) return S_OK;
    return CDeviceMoniker::CreateForClass(
        u"@device:sw:" + guid::ToWide(where) + u"\\" + instanceName, name, filter, moniker);
}

HRESULT CFilterMapper2::EnumMatchingFilters(IEnumMoniker** monikers, DWORD, BOOL, DWORD, BOOL,
                                            DWORD, const GUID*, const REGPINMEDIUM*, const CLSID*,
                                            BOOL, BOOL, DWORD, const GUID*, const REGPINMEDIUM*,
                                            const CLSID*) {
    if (monikers) *monikers = nullptr;
    return E_NOTIMPL;
}
