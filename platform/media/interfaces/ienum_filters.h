// IEnumFilters: walks the filters of a graph.
#pragma once

#include "platform/com/unknown.h"

struct IBaseFilter;

struct IEnumFilters : IUnknown {
    static constexpr IID kIid = {
        0x56A86893, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

    // Hands out up to `count` filters with a new reference each; S_FALSE when fewer were left.
    virtual HRESULT Next(ULONG count, IBaseFilter** filters, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumFilters** clone) = 0;

  protected:
    ~IEnumFilters() = default;
};

inline constexpr IID IID_IEnumFilters = IEnumFilters::kIid;
