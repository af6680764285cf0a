// IPersist: the class of an object.
#pragma once

#include "platform/com/unknown.h"

struct IPersist : IUnknown {
    static constexpr IID kIid = {0x0000010C, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

    // Writes the object's class identifier. E_POINTER when `clsid` is null.
    virtual HRESULT GetClassID(CLSID* clsid) = 0;

  protected:
    ~IPersist() = default;
};

inline constexpr IID IID_IPersist = IPersist::kIid;
