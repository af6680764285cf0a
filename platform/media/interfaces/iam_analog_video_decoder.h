// IAMAnalogVideoDecoder: the analogue video standard of a capture device's decoder.
// Standards are AnalogVideoStandard flags (e.g. 0x20 PAL_D, 0x1 NTSC_M).
#pragma once

#include "platform/com/unknown.h"

struct IAMAnalogVideoDecoder : IUnknown {
    static constexpr IID kIid = {
        0xC6E13350, 0x30AC, 0x11D0, {0xA1, 0x8C, 0x00, 0xA0, 0xC9, 0x11, 0x89, 0x56}};

    // The standards the decoder can take, ORed together.
    virtual HRESULT get_AvailableTVFormats(LONG* standards) = 0;
    virtual HRESULT put_TVFormat(LONG standard) = 0;
    virtual HRESULT get_TVFormat(LONG* standard) = 0;
    virtual HRESULT get_HorizontalLocked(LONG* locked) = 0;
    virtual HRESULT put_VCRHorizontalLocking(LONG vcrLocking) = 0;
    virtual HRESULT get_VCRHorizontalLocking(LONG* vcrLocking) = 0;
    virtual HRESULT get_NumberOfLines(LONG* lines) = 0;
    virtual HRESULT put_OutputEnable(LONG enable) = 0;
    virtual HRESULT get_OutputEnable(LONG* enable) = 0;

  protected:
    ~IAMAnalogVideoDecoder() = default;
};

inline constexpr IID IID_IAMAnalogVideoDecoder = IAMAnalogVideoDecoder::kIid;
