// IBasicAudio: volume and balance of an audio renderer (the graph manager forwards it to the
// audio renderer in its graph).
#pragma once

#include "platform/media/interfaces/idispatch.h"

struct IBasicAudio : IDispatch {
    static constexpr IID kIid = {
        0x56A868B3, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

    // Volume in hundredths of a decibel, -10000 (silence) to 0 (full); E_INVALIDARG outside.
    virtual HRESULT put_Volume(LONG volume) = 0;
    virtual HRESULT get_Volume(LONG* volume) = 0;
    // Balance in hundredths of a decibel, -10000 (left only) to 10000 (right only).
    virtual HRESULT put_Balance(LONG balance) = 0;
    virtual HRESULT get_Balance(LONG* balance) = 0;

  protected:
    ~IBasicAudio() = default;
};

inline constexpr IID IID_IBasicAudio = IBasicAudio::kIid;
