// ISpecifyPropertyPages: an object names the classes of the property pages that edit it.
// Published layout.
#pragma once

#include "platform/com/unknown.h"

// A counted array of GUIDs. The array is allocated with CoTaskMemAlloc by the callee and freed by
// the caller with CoTaskMemFree.
struct CAUUID {
    ULONG cElems;
    GUID* pElems;
};

struct ISpecifyPropertyPages : IUnknown {
    static constexpr IID kIid = {
        0xB196B28B, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};

    // Fills `pages` with the page class ids. E_POINTER for null, E_OUTOFMEMORY when the array
    // cannot be allocated.
    virtual HRESULT GetPages(CAUUID* pages) = 0;

  protected:
    ~ISpecifyPropertyPages() = default;
};

inline constexpr IID IID_ISpecifyPropertyPages = ISpecifyPropertyPages::kIid;
