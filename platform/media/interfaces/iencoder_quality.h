// IEncoderQuality (ours): the recording quality of an encoder media object, found through
// QueryInterface on the object or on the DMO wrapper filter hosting it.
#pragma once

#include "platform/com/unknown.h"

struct IEncoderQuality : IUnknown {
    static constexpr IID kIid = {
        0x3F6A2C10, 0x51E7, 0x4B0D, {0x9C, 0x21, 0x6E, 0x0B, 0x4D, 0x72, 0xA1, 0x01}};

    // 0 "high", 1 "medium", 2 "low" (what each means is the encoder's, documented with it);
    // E_INVALIDARG outside. Takes effect at the next AllocateStreamingResources.
    virtual HRESULT put_Quality(LONG quality) = 0;
    virtual HRESULT get_Quality(LONG* quality) = 0;

  protected:
    ~IEncoderQuality() = default;
};

inline constexpr IID IID_IEncoderQuality = IEncoderQuality::kIid;
