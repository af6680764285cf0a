// IVMRMixerBitmap9: a still bitmap blended over the video of the mixing renderer.
#pragma once

#include "platform/base/bitmap.h"
#include "platform/com/unknown.h"

using COLORREF = DWORD;

// Flags of VMR9AlphaBitmap.
inline constexpr DWORD VMR9AlphaBitmap_Disable = 0x1;
inline constexpr DWORD VMR9AlphaBitmap_hDC = 0x2;
inline constexpr DWORD VMR9AlphaBitmap_EntireDDS = 0x4;
inline constexpr DWORD VMR9AlphaBitmap_SrcColorKey = 0x8;
inline constexpr DWORD VMR9AlphaBitmap_SrcRect = 0x10;
inline constexpr DWORD VMR9AlphaBitmap_FilterMode = 0x20;

// A rectangle in fractions of the video: (0, 0, 1, 1) is the whole picture.
struct VMR9NormalizedRect {
    float left;
    float top;
    float right;
    float bottom;
};

struct VMR9AlphaBitmap {
    DWORD dwFlags;
    // With VMR9AlphaBitmap_hDC: the bitmap to blend (24 or 32 bits per pixel), in the place
    // where the memory context holding it stood. Only read during SetAlphaBitmap.
    const BITMAP* pBitmap;
    void* pDDS;  // surfaces are not offered: must be null
    RECT rSrc;   // part of the bitmap, in its pixels
    VMR9NormalizedRect rDest;
    float fAlpha;        // 0 (invisible) to 1 (opaque)
    COLORREF clrSrcKey;  // with VMR9AlphaBitmap_SrcColorKey: this colour is transparent
    DWORD dwFilterMode;  // scaling is nearest-neighbour whatever this says
};

struct IVMRMixerBitmap9 : IUnknown {
    static constexpr IID kIid = {
        0xCED175E5, 0x1935, 0x4820, {0x81, 0xBD, 0xFF, 0x6A, 0xD0, 0x0C, 0x91, 0x08}};

    // Copies the bitmap (the caller may free it on return) and its parameters; they apply from
    // the next frame on and to GetCurrentImage. VMR9AlphaBitmap_Disable removes the bitmap.
    // E_INVALIDARG for: no bitmap with hDC, a surface, a depth other than 24 or 32, an alpha
    // outside 0..1, an empty destination, or a source rectangle that misses the bitmap (a source
    // rectangle reaching outside it is cut to it). Any thread.
    virtual HRESULT SetAlphaBitmap(const VMR9AlphaBitmap* parameters) = 0;
    // Changes source rectangle (with VMR9AlphaBitmap_SrcRect), destination, alpha and colour
    // key of the bitmap set before; the bitmap itself stays. E_INVALIDARG when no bitmap is set
    // or the parameters carry a new one.
    virtual HRESULT UpdateAlphaBitmapParameters(const VMR9AlphaBitmap* parameters) = 0;
    // The current parameters; pBitmap is null (the copy is internal).
    virtual HRESULT GetAlphaBitmapParameters(VMR9AlphaBitmap* parameters) = 0;

  protected:
    ~IVMRMixerBitmap9() = default;
};

inline constexpr IID IID_IVMRMixerBitmap9 = IVMRMixerBitmap9::kIid;
