// IFileSinkFilter: the file a writer filter writes. Standard IID and method order.
#pragma once

#include "platform/media/interfaces/media_type.h"

struct IFileSinkFilter : IUnknown {
    static constexpr IID kIid = {
        0xA2104830, 0x7C70, 0x11CF, {0x8B, 0xCE, 0x00, 0xAA, 0x00, 0xA3, 0xF1, 0xA6}};

    // Application thread, filter stopped. `name` is a NUL-terminated path (UTF-16); `type` may
    // be null. The file is created (truncated) when the filter leaves stopped.
    // E_POINTER for a null name, VFW_E_NOT_STOPPED while streaming.
    virtual HRESULT SetFileName(LPCWSTR name, const AM_MEDIA_TYPE* type) = 0;
    // The name as a CoTaskMemAlloc copy the caller frees, and the type (may be null; zeroed
    // when none was given). E_FAIL before any SetFileName.
    virtual HRESULT GetCurFile(LPWSTR* name, AM_MEDIA_TYPE* type) = 0;

  protected:
    ~IFileSinkFilter() = default;
};

inline constexpr IID IID_IFileSinkFilter = IFileSinkFilter::kIid;
