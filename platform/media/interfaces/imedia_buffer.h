// IMediaBuffer: a block of bytes handed to and from a media object (IMediaObject), with the
// standard IID and method order.
#pragma once

#include "platform/com/unknown.h"

struct IMediaBuffer : IUnknown {
    static constexpr IID kIid = {
        0x59EFF8B9, 0x938C, 0x4A26, {0x82, 0xF2, 0x95, 0xCB, 0x84, 0xCD, 0xC8, 0x37}};

    // Sets the number of valid bytes; E_INVALIDARG above GetMaxLength.
    virtual HRESULT SetLength(DWORD length) = 0;
    // The capacity in bytes.
    virtual HRESULT GetMaxLength(DWORD* maxLength) = 0;
    // The bytes and the number of valid ones; either pointer may be null.
    virtual HRESULT GetBufferAndLength(BYTE** buffer, DWORD* length) = 0;

  protected:
    ~IMediaBuffer() = default;
};

inline constexpr IID IID_IMediaBuffer = IMediaBuffer::kIid;
