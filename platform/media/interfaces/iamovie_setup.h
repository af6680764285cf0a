// IAMovieSetup: a filter registers (or unregisters) its own setup record with the filter mapper.
#pragma once

#include "platform/com/unknown.h"

struct IAMovieSetup : IUnknown {
    static constexpr IID kIid = {
        0xA3D8CEC0, 0x7E5A, 0x11CF, {0xBB, 0xC5, 0x00, 0x80, 0x5F, 0x6C, 0xEF, 0x20}};

    // Writes the filter's setup record in the filters category through IFilterMapper2 (needs
    // CoInitialize on the calling thread). S_FALSE when the filter has no setup record.
    virtual HRESULT Register() = 0;
    // Removes it; S_FALSE when the filter has no setup record.
    virtual HRESULT Unregister() = 0;

  protected:
    ~IAMovieSetup() = default;
};

inline constexpr IID IID_IAMovieSetup = IAMovieSetup::kIid;
