// IEnumMoniker: walks monikers, here the devices of one category.
#pragma once

#include "platform/com/unknown.h"

struct IMoniker;

struct IEnumMoniker : IUnknown {
    static constexpr IID kIid = {0x00000102, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

    // Hands out up to `count` monikers with a new reference each; S_FALSE when fewer were left.
    virtual HRESULT Next(ULONG count, IMoniker** monikers, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumMoniker** clone) = 0;

  protected:
    ~IEnumMoniker() = default;
};

inline constexpr IID IID_IEnumMoniker = IEnumMoniker::kIid;
