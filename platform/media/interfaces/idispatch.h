// IDispatch, the automation base of IMediaControl and IBasicAudio. Automation is not offered:
// every implementation here answers E_NOTIMPL; the methods exist to keep the published layout.
#pragma once

#include "platform/com/unknown.h"
#include "platform/media/interfaces/variant.h"

struct ITypeInfo;
struct DISPPARAMS;
struct EXCEPINFO;
using DISPID = LONG;

struct IDispatch : IUnknown {
    static constexpr IID kIid = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

    virtual HRESULT GetTypeInfoCount(UINT* count) = 0;
    virtual HRESULT GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) = 0;
    virtual HRESULT GetIDsOfNames(REFIID riid, LPWSTR* names, UINT count, LCID locale,
                                  DISPID* ids) = 0;
    virtual HRESULT Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                           VARIANT* result, EXCEPINFO* exception, UINT* argError) = 0;

  protected:
    ~IDispatch() = default;
};

inline constexpr IID IID_IDispatch = IDispatch::kIid;

// The four methods for classes that do not offer automation.
#define DECLARE_NO_DISPATCH                                                              \
    HRESULT GetTypeInfoCount(UINT* count) override {                                     \
        if (count) *count = 0;                                                           \
        return E_NOTIMPL;                                                                \
    }                                                                                    \
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override {                              \
        return E_NOTIMPL;                                                                \
    }                                                                                    \
    HRESULT GetIDsOfNames(REFIID, LPWSTR*, UINT, LCID, DISPID*) override {               \
        return E_NOTIMPL;                                                                \
    }                                                                                    \
    HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) \
        override {                                                                       \
        return E_NOTIMPL;                                                                \
    }
