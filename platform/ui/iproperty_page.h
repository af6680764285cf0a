// IPropertyPage: one page of a property frame, editing the properties of the objects it is given.
// Published layout: the method order never changes. The page's window is a QWidget made inside
// the parent widget the frame passes to Activate. GUI thread only.
#pragma once

#include "platform/com/unknown.h"
#include "platform/ui/iproperty_page_site.h"

class QWidget;

// What a page tells the frame about itself. The strings are allocated with CoTaskMemAlloc and
// freed by the caller with CoTaskMemFree.
struct PROPPAGEINFO {
    ULONG cb;  // sizeof(PROPPAGEINFO)
    LPWSTR pszTitle;
    SIZE size;  // pixels
    LPWSTR pszDocString;
    LPWSTR pszHelpFile;
    DWORD dwHelpContext;
};

struct IPropertyPage : IUnknown {
    static constexpr IID kIid = {
        0xB196B28D, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};

    // Gives the page its site (the page keeps a reference), or takes it back (null).
    virtual HRESULT SetPageSite(IPropertyPageSite* site) = 0;
    // Makes the page's window inside `parent` at `rect` (parent coordinates) and shows it.
    virtual HRESULT Activate(QWidget* parent, const RECT* rect, BOOL modal) = 0;
    // Destroys the page's window.
    virtual HRESULT Deactivate() = 0;
    virtual HRESULT GetPageInfo(PROPPAGEINFO* info) = 0;
    // Connects the page to `count` objects, or disconnects it (count 0).
    virtual HRESULT SetObjects(ULONG count, IUnknown** objects) = 0;
    // SW_SHOW, SW_SHOWNORMAL or SW_HIDE.
    virtual HRESULT Show(UINT command) = 0;
    virtual HRESULT Move(const RECT* rect) = 0;
    // S_OK when the page has changes to apply, S_FALSE when not.
    virtual HRESULT IsPageDirty() = 0;
    // Writes the page's changes to its objects.
    virtual HRESULT Apply() = 0;
    virtual HRESULT Help(LPCWSTR helpFolder) = 0;
    virtual HRESULT TranslateAccelerator(MSG* message) = 0;

  protected:
    ~IPropertyPage() = default;
};

inline constexpr IID IID_IPropertyPage = IPropertyPage::kIid;
