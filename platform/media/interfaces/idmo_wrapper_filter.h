// IDMOWrapperFilter: tells the DMO wrapper filter which media object to host. Standard IID.
#pragma once

#include "platform/com/unknown.h"

struct IDMOWrapperFilter : IUnknown {
    static constexpr IID kIid = {
        0x52D6F586, 0x9F0F, 0x4824, {0x8F, 0xC8, 0xE3, 0x2C, 0xA0, 0x49, 0x30, 0xC2}};

    // Application thread, filter stopped and unconnected. Creates the media object `dmo` (a
    // class of `category`) aggregated in the filter; the filter's pins then follow its streams.
    // The class's creation error (REGDB_E_CLASSNOTREG for an unknown id) is returned and the
    // filter stays empty; VFW_E_WRONG_STATE once an object is hosted.
    virtual HRESULT Init(REFCLSID dmo, REFCLSID category) = 0;

  protected:
    ~IDMOWrapperFilter() = default;
};

inline constexpr IID IID_IDMOWrapperFilter = IDMOWrapperFilter::kIid;
