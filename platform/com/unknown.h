// IUnknown and IClassFactory with the standard method order and IIDs.
//
// Interfaces are abstract classes whose first three virtual methods are IUnknown's, with no
// virtual destructor: an object is destroyed only by its own Release. Each interface carries its
// IID as `kIid` so that ComPtr and QueryInterface helpers can find it.
#pragma once

#include "platform/com/guid.h"

struct IUnknown {
    static constexpr IID kIid = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

    virtual HRESULT QueryInterface(REFIID riid, void** ppv) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

  protected:
    ~IUnknown() = default;
};

struct IClassFactory : IUnknown {
    static constexpr IID kIid = {0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

    virtual HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) = 0;
    virtual HRESULT LockServer(BOOL lock) = 0;

  protected:
    ~IClassFactory() = default;
};

inline constexpr IID IID_IUnknown = IUnknown::kIid;
inline constexpr IID IID_IClassFactory = IClassFactory::kIid;

// The IID of an interface type.
template <typename T>
constexpr const IID& IidOf() {
    return T::kIid;
}
