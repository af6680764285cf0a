// IConfigInterleaving: how a multiplexer interleaves its streams. Standard IID and method order.
#pragma once

#include "platform/media/interfaces/filter_types.h"

enum InterleavingMode {
    INTERLEAVE_NONE = 0,           // streams are written in time order by the muxer
    INTERLEAVE_CAPTURE = 1,        // samples are written as they arrive (live capture)
    INTERLEAVE_FULL = 2,           // strict time order
    INTERLEAVE_NONE_BUFFERED = 3,  // as INTERLEAVE_NONE
};

struct IConfigInterleaving : IUnknown {
    static constexpr IID kIid = {
        0x5ACD6AA0, 0xF482, 0x11CE, {0x8B, 0x67, 0x00, 0xAA, 0x00, 0xA3, 0xF1, 0xA6}};

    // Application thread, filter stopped: E_INVALIDARG outside the four modes,
    // VFW_E_NOT_STOPPED while running.
    virtual HRESULT put_Mode(InterleavingMode mode) = 0;
    virtual HRESULT get_Mode(InterleavingMode* mode) = 0;
    // The interleaving period and preroll (100 ns units); null leaves a value unchanged.
    virtual HRESULT put_Interleaving(const REFERENCE_TIME* interleave,
                                     const REFERENCE_TIME* preroll) = 0;
    virtual HRESULT get_Interleaving(REFERENCE_TIME* interleave, REFERENCE_TIME* preroll) = 0;

  protected:
    ~IConfigInterleaving() = default;
};

inline constexpr IID IID_IConfigInterleaving = IConfigInterleaving::kIid;
