// IMergeOverlay: the custom interface of the "Merge Overlay" filter, through which a program sets
// the title the filter burns into every frame and reads the filter's overlay settings.
//
// This is the published header: a client that creates the filter with CoCreateInstance needs
// nothing else of the library. It includes only the platform's base types (win_types.h), IUnknown
// and GUID (unknown.h) and LOGFONTW (logfont.h), each of which includes only standard headers and
// win_types.h.
//
// The layout is a contract with clients we do not see: the methods keep this order and these
// argument types (32-bit int and HRESULT, UTF-16 text, the 92-byte LOGFONTW passed by value, POINT
// of two 32-bit integers), and the interface never grows. A new need is a new interface.
//
// Every method may be called on any thread; the filter serialises them with a lock of its own.
#pragma once

#include "platform/base/win_types.h"
#include "platform/com/unknown.h"
#include "platform/text/logfont.h"

// Class of the filter; create it in-process asking for IBaseFilter or IMergeOverlay.
inline constexpr CLSID CLSID_MergeOverlay = {
    0x33C3C615, 0x8E30, 0x4874, {0x9C, 0x74, 0x10, 0x88, 0x02, 0x61, 0xC7, 0xE8}};
// Class of the filter's property page.
inline constexpr CLSID CLSID_MergeOverlayPropertyPage = {
    0xE40D3CA2, 0xA7BD, 0x4AF7, {0x9E, 0x09, 0x15, 0xED, 0x60, 0x41, 0xE3, 0x67}};

struct IMergeOverlay : IUnknown {
    static constexpr IID kIid = {
        0x6200AD89, 0x12B1, 0x4AEF, {0x89, 0x4F, 0x53, 0x1A, 0x69, 0xBE, 0xC0, 0x2C}};

    // Accepted and ignored: the overlay type stays 1 (draw).
    virtual HRESULT SetOverlayType(int type) = 0;
    // 1 when the filter draws its overlay, 0 when frames pass untouched. E_POINTER for null.
    virtual HRESULT GetOverlayType(int* type) = 0;
    // Accepted and ignored: the merge mode stays 1.
    virtual HRESULT SetMergeMode(int byCover) = 0;
    // 1: text pixels take the text colour; 0: they are inverted. E_POINTER for null.
    virtual HRESULT GetMergeMode(int* byCover) = 0;
    // Replaces the title while the filter is stopped (E_UNEXPECTED, title unchanged, otherwise).
    // `byteCount` is the size of `text` in bytes including its terminating NUL; at most
    // byteCount / 2 - 1 characters are copied, fewer when a NUL comes first; a null text or a
    // count below 2 gives an empty title. The caller keeps its buffer. S_OK once stopped.
    virtual HRESULT SetTitle(const WCHAR* text, int byteCount) = 0;
    // Writes the title's length in bytes without the terminator (2 x characters) to *byteCount.
    // With a buffer, *byteCount on entry says that the buffer holds *byteCount + 2 bytes (so the
    // count a call without a buffer returned is the one to pass); the title and its terminator
    // are copied when they fit, else nothing is copied and the call fails with
    // HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER). E_POINTER for a null count.
    virtual HRESULT GetTitle(WCHAR* buffer, int* byteCount) = 0;
    // Accepted and ignored: the text colour of the frame format stays.
    virtual HRESULT SetTitleColor(BYTE r, BYTE g, BYTE b) = 0;
    // Writes nothing; S_OK.
    virtual HRESULT GetTitleColor(BYTE* r, BYTE* g, BYTE* b) = 0;
    // Accepted and ignored: the title stays at (0, 0).
    virtual HRESULT SetTitlePosition(int x, int y) = 0;
    // The title's top-left corner in pixels from the frame's top-left corner. E_POINTER for null.
    virtual HRESULT GetTitlePosition(POINT* position) = 0;
    // Accepted and ignored.
    virtual HRESULT SetTitleFont(LOGFONTW font) = 0;
    // The stored font description (all zero: the overlay's own font is used). E_POINTER for null.
    virtual HRESULT GetTitleFont(LOGFONTW* font) = 0;
    // Accepted and ignored: the title is drawn on every frame.
    virtual HRESULT SetTitleDuration(double start, double end) = 0;
    // The title's start and end time in seconds (0.0 and -1.0). E_POINTER for a null argument.
    virtual HRESULT GetTitleDuration(double* start, double* end) = 0;

  protected:
    ~IMergeOverlay() = default;
};

inline constexpr IID IID_IMergeOverlay = IMergeOverlay::kIid;

static_assert(sizeof(int) == 4 && sizeof(HRESULT) == 4 && sizeof(WCHAR) == 2);
static_assert(sizeof(LOGFONTW) == 92 && sizeof(POINT) == 8);
