// IEnumPins: walks a filter's pins.
#pragma once

#include "platform/com/unknown.h"

struct IPin;

struct IEnumPins : IUnknown {
    static constexpr IID kIid = {
        0x56A86892, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

    // Hands out up to `count` pins with a new reference each; S_FALSE when fewer were left.
    // `fetched` may be null only when `count` is 1.
    virtual HRESULT Next(ULONG count, IPin** pins, ULONG* fetched) = 0;
    // S_FALSE when fewer than `count` were left to skip.
    virtual HRESULT Skip(ULONG count) = 0;
    virtual HRESULT Reset() = 0;
    // An independent enumerator at the same position.
    virtual HRESULT Clone(IEnumPins** clone) = 0;

  protected:
    ~IEnumPins() = default;
};

inline constexpr IID IID_IEnumPins = IEnumPins::kIid;
