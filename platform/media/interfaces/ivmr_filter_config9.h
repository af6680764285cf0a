// IVMRFilterConfig9: set-up of the video mixing renderer before its input is connected.
#pragma once

#include "platform/com/unknown.h"

struct IVMRImageCompositor9;

enum VMR9Mode : DWORD {
    VMR9Mode_Windowed = 0x1,
    VMR9Mode_Windowless = 0x2,
    VMR9Mode_Renderless = 0x4,
};

struct IVMRFilterConfig9 : IUnknown {
    static constexpr IID kIid = {
        0x5A804648, 0x4F66, 0x4867, {0x9C, 0x43, 0x4F, 0x5C, 0x82, 0x2C, 0xF1, 0xB8}};

    // Not offered: E_NOTIMPL.
    virtual HRESULT SetImageCompositor(IVMRImageCompositor9* compositor) = 0;
    // Number of input streams, 1 to 16, before any input is connected and only once
    // (VFW_E_WRONG_STATE else). Stream 0 is the video shown; the other inputs accept video and
    // discard it.
    virtual HRESULT SetNumberOfStreams(DWORD streams) = 0;
    virtual HRESULT GetNumberOfStreams(DWORD* streams) = 0;
    virtual HRESULT SetRenderingPrefs(DWORD preferences) = 0;
    virtual HRESULT GetRenderingPrefs(DWORD* preferences) = 0;
    // Only VMR9Mode_Windowless is offered (E_INVALIDARG for the others); before any input is
    // connected (VFW_E_WRONG_STATE else).
    virtual HRESULT SetRenderingMode(DWORD mode) = 0;
    virtual HRESULT GetRenderingMode(DWORD* mode) = 0;

  protected:
    ~IVMRFilterConfig9() = default;
};

inline constexpr IID IID_IVMRFilterConfig9 = IVMRFilterConfig9::kIid;
