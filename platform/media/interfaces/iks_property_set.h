// IKsPropertySet: properties of a device driver, addressed by property set and property id.
#pragma once

#include "platform/com/unknown.h"

struct IKsPropertySet : IUnknown {
    static constexpr IID kIid = {
        0x31EFAC30, 0x515C, 0x11D0, {0xA9, 0xAA, 0x00, 0xAA, 0x00, 0x61, 0xBE, 0x93}};

    // Sends property `id` of `set` to the device with its instance data and property data.
    virtual HRESULT Set(REFGUID set, DWORD id, void* instance, DWORD instanceBytes, void* data,
                        DWORD dataBytes) = 0;
    // Reads property `id` of `set` into `data`; *returned tells how many bytes were written.
    virtual HRESULT Get(REFGUID set, DWORD id, void* instance, DWORD instanceBytes, void* data,
                        DWORD dataBytes, DWORD* returned) = 0;
    // KSPROPERTY_SUPPORT_GET (1) and/or KSPROPERTY_SUPPORT_SET (2).
    virtual HRESULT QuerySupported(REFGUID set, DWORD id, DWORD* support) = 0;

  protected:
    ~IKsPropertySet() = default;
};

inline constexpr IID IID_IKsPropertySet = IKsPropertySet::kIid;
inline constexpr DWORD KSPROPERTY_SUPPORT_GET = 1;
inline constexpr DWORD KSPROPERTY_SUPPORT_SET = 2;
