// ICreateDevEnum: the system device enumerator's view of one device category.
#pragma once

#include "platform/com/unknown.h"

struct IEnumMoniker;

struct ICreateDevEnum : IUnknown {
    static constexpr IID kIid = {
        0x29840822, 0x5B84, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};

    // Monikers of the category's devices, in this order: devices attached at run time (in the
    // order they were attached), built-in filters, filters registered in the registry.
    // S_FALSE and a null enumerator when the category is empty. `flags` is ignored.
    // The list is taken when the enumerator is created.
    virtual HRESULT CreateClassEnumerator(REFCLSID category, IEnumMoniker** monikers,
                                          DWORD flags) = 0;

  protected:
    ~ICreateDevEnum() = default;
};

inline constexpr IID IID_ICreateDevEnum = ICreateDevEnum::kIid;
