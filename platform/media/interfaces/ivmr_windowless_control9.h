// IVMRWindowlessControl9: where the video mixing renderer shows its video, and read-back of the
// current picture. Every method needs windowless mode (VFW_E_WRONG_STATE before
// SetRenderingMode(VMR9Mode_Windowless)). Called on the application thread.
#pragma once

#include "platform/base/window_handle.h"
#include "platform/com/unknown.h"

using COLORREF = DWORD;

enum VMR9AspectRatioMode : DWORD { VMR9ARMode_None = 0, VMR9ARMode_LetterBox = 1 };

struct IVMRWindowlessControl9 : IUnknown {
    static constexpr IID kIid = {
        0x8F537D09, 0xF85E, 0x4414, {0xB2, 0x3B, 0x50, 0x2E, 0x54, 0xC7, 0x99, 0x27}};

    // Size of the connected video; VFW_E_NOT_CONNECTED before a connection. Any pointer may
    // be null.
    virtual HRESULT GetNativeVideoSize(LONG* width, LONG* height, LONG* aspectWidth,
                                       LONG* aspectHeight) = 0;
    virtual HRESULT GetMinIdealVideoSize(LONG* width, LONG* height) = 0;
    virtual HRESULT GetMaxIdealVideoSize(LONG* width, LONG* height) = 0;
    // Source rectangle in video pixels (null keeps it; the whole video at first) and destination
    // rectangle in the window's client coordinates (null keeps it). E_INVALIDARG for an
    // inverted rectangle. The window is told to repaint.
    virtual HRESULT SetVideoPosition(const RECT* source, const RECT* destination) = 0;
    virtual HRESULT GetVideoPosition(RECT* source, RECT* destination) = 0;
    virtual HRESULT GetAspectRatioMode(DWORD* mode) = 0;
    virtual HRESULT SetAspectRatioMode(DWORD mode) = 0;
    // The window the frames go to (null detaches). The window must stay alive while attached,
    // or detach itself when destroyed (VideoPaneWindow does). The destination becomes the
    // window's client area until SetVideoPosition changes it.
    virtual HRESULT SetVideoClippingWindow(HWND window) = 0;
    // Asks the clipping window to paint the latest frame again. E_INVALIDARG for another window.
    virtual HRESULT RepaintVideo(HWND window, HDC dc) = 0;
    virtual HRESULT DisplayModeChanged() = 0;
    // The latest picture, with the alpha bitmap blended in, as a packed bitmap in task memory:
    // a BITMAPINFOHEADER (32 bits per pixel, positive height) followed directly by the rows,
    // bottom row first, 4 × width bytes each (blue, green, red, 0xFF). The caller frees it with
    // CoTaskMemFree. E_FAIL when no frame has arrived since the input connected.
    virtual HRESULT GetCurrentImage(BYTE** dib) = 0;
    virtual HRESULT SetBorderColor(COLORREF colour) = 0;
    virtual HRESULT GetBorderColor(COLORREF* colour) = 0;

  protected:
    ~IVMRWindowlessControl9() = default;
};

inline constexpr IID IID_IVMRWindowlessControl9 = IVMRWindowlessControl9::kIid;
