// IPropertyBag: named values of an object's description, such as a device's "FriendlyName".
#pragma once

#include "platform/com/unknown.h"
#include "platform/media/interfaces/variant.h"

struct IErrorLog;

struct IPropertyBag : IUnknown {
    static constexpr IID kIid = {
        0x55272A00, 0x42CB, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};

    // Reads `name` into `value`, which must be VT_EMPTY (the value's own type is used) or the
    // value's type (DISP_E_TYPEMISMATCH otherwise). A string comes as a new BSTR the caller frees
    // (VariantClear). HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) when there is no such value.
    virtual HRESULT Read(LPCWSTR name, VARIANT* value, IErrorLog* errorLog) = 0;
    // Device descriptions are read-only: E_ACCESSDENIED.
    virtual HRESULT Write(LPCWSTR name, VARIANT* value) = 0;

  protected:
    ~IPropertyBag() = default;
};

inline constexpr IID IID_IPropertyBag = IPropertyBag::kIid;
