// IPropertyPageSite: what a property page knows of the frame that shows it. Published layout:
// the method order never changes.
#pragma once

#include "platform/com/unknown.h"

struct MSG;  // keyboard messages are not forwarded on this platform; always null

inline constexpr DWORD PROPPAGESTATUS_DIRTY = 0x1;     // the page has changes to apply
inline constexpr DWORD PROPPAGESTATUS_VALIDATE = 0x2;  // the page wants its changes checked
inline constexpr DWORD PROPPAGESTATUS_CLEAN = 0x4;     // the page has nothing to apply

struct IPropertyPageSite : IUnknown {
    static constexpr IID kIid = {
        0xB196B28C, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};

    // The page's state changed (PROPPAGESTATUS_*); the frame enables its Apply button for DIRTY.
    virtual HRESULT OnStatusChange(DWORD flags) = 0;
    // The locale the frame was created with. E_POINTER for null.
    virtual HRESULT GetLocaleID(LCID* locale) = 0;
    // E_NOTIMPL: the frame offers no container object.
    virtual HRESULT GetPageContainer(IUnknown** container) = 0;
    // E_NOTIMPL.
    virtual HRESULT TranslateAccelerator(MSG* message) = 0;

  protected:
    ~IPropertyPageSite() = default;
};

inline constexpr IID IID_IPropertyPageSite = IPropertyPageSite::kIid;
