// IEnumMediaTypes: walks the media types a pin prefers.
#pragma once

#include "platform/media/interfaces/media_type.h"

struct IEnumMediaTypes : IUnknown {
    static constexpr IID kIid = {
        0x89C31040, 0x846B, 0x11CE, {0x97, 0xD3, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};

    // Hands out up to `count` types, each allocated with CreateMediaType (the caller frees them
    // with DeleteMediaType); S_FALSE when fewer were left.
    virtual HRESULT Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumMediaTypes** clone) = 0;

  protected:
    ~IEnumMediaTypes() = default;
};

inline constexpr IID IID_IEnumMediaTypes = IEnumMediaTypes::kIid;
