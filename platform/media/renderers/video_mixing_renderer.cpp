#include "platform/media/renderers/video_mixing_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "platform/com/runtime.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/interfaces/media_errors.h"
#include "platform/media/renderers/frame_convert.h"
#include "platform/media/renderers/video_pane_window.h"

namespace {

constexpr DWORD kMaxStreams = 16;
constexpr LONG kMaxDimension = 8192;

std::u16string PinName(int stream) {
    const std::string number = std::to_string(stream);
    return u"VMR Input" + std::u16string(number.begin(), number.end());
}

bool ValidRect(const RECT& r) {
    return r.right >= r.left && r.bottom >= r.top;
}

bool ValidDestination(const VMR9NormalizedRect& r) {
    return std::isfinite(r.left) && std::isfinite(r.top) && std::isfinite(r.right) &&
           std::isfinite(r.bottom) && r.left < r.right && r.top < r.bottom;
}

}  // namespace

// ---- construction and pins ----

CUnknown* CVideoMixingRenderer9::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* renderer = new (std::nothrow) CVideoMixingRenderer9(outer);
    if (!renderer && hr) *hr = E_OUTOFMEMORY;
    return renderer;
}

CVideoMixingRenderer9::CVideoMixingRenderer9(IUnknown* outer)
    : CBaseFilter("video mixing renderer", outer, &lock_, CLSID_VideoMixingRenderer9) {
    pins_.push_back(std::make_unique<CVmrInputPin>(this, 0, PinName(0).c_str()));
}

CVideoMixingRenderer9::~CVideoMixingRenderer9() = default;

HRESULT CVideoMixingRenderer9::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IVMRFilterConfig9)
        return GetInterface(static_cast<IVMRFilterConfig9*>(this), ppv);
    if (riid == IID_IVMRWindowlessControl9)
        return GetInterface(static_cast<IVMRWindowlessControl9*>(this), ppv);
    if (riid == IID_IVMRMixerBitmap9)
        return GetInterface(static_cast<IVMRMixerBitmap9*>(this), ppv);
    if (riid == IID_IVideoFrameSource)
        return GetInterface(static_cast<IVideoFrameSource*>(this), ppv);
    return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

int CVideoMixingRenderer9::GetPinCount() {
    CAutoLock lock(&lock_);
    return static_cast<int>(pins_.size());
}

CBasePin* CVideoMixingRenderer9::GetPin(int n) {
    CAutoLock lock(&lock_);
    if (n < 0 || n >= static_cast<int>(pins_.size())) return nullptr;
    return pins_[n].get();
}

HRESULT CVideoMixingRenderer9::Stop() {
    CAutoLock lock(&lock_);
    const HRESULT hr = CBaseFilter::Stop();
    CAutoLock receive(&receiveLock_);  // a frame in progress finishes first
    // The kept sample goes back to its allocator, which may now be decommitted or set up for
    // another format; the full-size picture stays.
    std::shared_ptr<media::RetainedPicture> current;
    {
        std::lock_guard frame(frameLock_);
        current = current_;
    }
    if (current) current->ReleaseFrame();
    return hr;
}

bool CVideoMixingRenderer9::AnyPinConnected() const {
    for (const auto& pin : pins_)
        if (pin->IsConnected()) return true;
    return false;
}

bool CVideoMixingRenderer9::IsAcceptedType(const CMediaType& type) {
    if (type.majortype != MEDIATYPE_Video || type.formattype != FORMAT_VideoInfo ||
        !type.pbFormat || type.cbFormat < sizeof(VIDEOINFOHEADER))
        return false;
    const auto& header = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
    const LONG height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    if (header.biWidth < 1 || header.biWidth > kMaxDimension || height < 1 ||
        height > kMaxDimension)
        return false;
    if (type.subtype == MEDIASUBTYPE_UYVY) return header.biBitCount == 16;
    if (type.subtype == MEDIASUBTYPE_RGB32) return header.biBitCount == 32;
    if (type.subtype == MEDIASUBTYPE_RGB24) return header.biBitCount == 24;
    return false;
}

// ---- IVMRFilterConfig9 ----

HRESULT CVideoMixingRenderer9::SetImageCompositor(IVMRImageCompositor9*) {
    return E_NOTIMPL;
}

HRESULT CVideoMixingRenderer9::SetNumberOfStreams(DWORD streams) {
    CAutoLock lock(&lock_);
    if (streams < 1 || streams > kMaxStreams) return E_INVALIDARG;
    if (streamsSet_ || AnyPinConnected()) return VFW_E_WRONG_STATE;
    for (DWORD i = static_cast<DWORD>(pins_.size()); i < streams; ++i)
        pins_.push_back(std::make_unique<CVmrInputPin>(this, static_cast<int>(i),
                                                       PinName(static_cast<int>(i)).c_str()));
    streamsSet_ = true;
    return S_OK;
}

HRESULT CVideoMixingRenderer9::GetNumberOfStreams(DWORD* streams) {
    if (!streams) return E_POINTER;
    CAutoLock lock(&lock_);
    *streams = static_cast<DWORD>(pins_.size());
    return S_OK;
}

HRESULT CVideoMixingRenderer9::SetRenderingPrefs(DWORD preferences) {
    CAutoLock lock(&lock_);
    preferences_ = preferences;
    return S_OK;
}

HRESULT CVideoMixingRenderer9::GetRenderingPrefs(DWORD* preferences) {
    if (!preferences) return E_POINTER;
    CAutoLock lock(&lock_);
    *preferences = preferences_;
    return S_OK;
}

HRESULT CVideoMixingRenderer9::SetRenderingMode(DWORD mode) {
    CAutoLock lock(&lock_);
    if (AnyPinConnected()) return VFW_E_WRONG_STATE;
    if (mode != VMR9Mode_Windowless) return E_INVALIDARG;
    mode_ = mode;
    return S_OK;
}

HRESULT CVideoMixingRenderer9::GetRenderingMode(DWORD* mode) {
    if (!mode) return E_POINTER;
    CAutoLock lock(&lock_);
    *mode = mode_;
    return S_OK;
}

// ---- IVMRWindowlessControl9 ----

#define REQUIRE_WINDOWLESS() \
    if (mode_ != VMR9Mode_Windowless) return VFW_E_WRONG_STATE

HRESULT CVideoMixingRenderer9::GetNativeVideoSize(LONG* width, LONG* height, LONG* aspectWidth,
                                                  LONG* aspectHeight) {
    CAutoLock lock(&lock_);
    REQUIRE_WINDOWLESS();
    if (format_.layout == media::PixelLayout::None) return VFW_E_NOT_CONNECTED;
    if (width) *width = format_.width;
    if (height) *height = format_.height;
    if (aspectWidth) *aspectWidth = format_.width;
    if (aspectHeight) *aspectHeight = format_.height;
    return S_OK;
}

HRESULT CVideoMixingRenderer9::GetMinIdealVideoSize(LONG* width, LONG* height) {
    return GetNativeVideoSize(width, height, nullptr, nullptr);
}

HRESULT CVideoMixingRenderer9::GetMaxIdealVideoSize(LONG* width, LONG* height) {
    return GetNativeVideoSize(width, height, nullptr, nullptr);
}

void CVideoMixingRenderer9::PushPosition() {
    View view;
    if (format_.layout != media::PixelLayout::None && destination_.right > destination_.left &&
        destination_.bottom > destination_.top) {
        const RECT whole{0, 0, format_.width, format_.height};
        RECT source{std::max(source_.left, whole.left), std::max(source_.top, whole.top),
                    std::min(source_.right, whole.right), std::min(source_.bottom, whole.bottom)};
        if (source.right <= source.left || source.bottom <= source.top) source = whole;
        view = {source, destination_.right - destination_.left,
                destination_.bottom - destination_.top};
    }
    std::shared_ptr<LatestFrameSlot> slot;
    std::shared_ptr<const media::OverlayPlan> overlay;
    {
        std::lock_guard frame(frameLock_);
        view_ = view;
        slot = slot_;
        overlay = overlay_;
    }
    // The stamp's overlay for the new size is built here, not on the streaming thread.
    if (overlay && view.width > 0)
        overlay->For(view.source, format_.width, format_.height, view.width, view.height);
    if (slot) slot->SetPosition({source_, destination_});
}

HRESULT CVideoMixingRenderer9::SetVideoPosition(const RECT* source, const RECT* destination) {
    CAutoLock lock(&lock_);
    REQUIRE_WINDOWLESS();
    if (!source && !destination) return E_POINTER;
    if ((source && !ValidRect(*source)) || (destination && !ValidRect(*destination)))
        return E_INVALIDARG;
    if (source) source_ = *source;
    if (destination) destination_ = *destination;
    PushPosition();
    return S_OK;
}

HRESULT CVideoMixingRenderer9::GetVideoPosition(RECT* source, RECT* destination) {
    CAutoLock lock(&lock_);
    REQUIRE_WINDOWLESS();
    if (!source && !destination) return E_POINTER;
    if (source) *source = source_;
    if (destination) *destination = destination_;
    return S_OK;
}

HRESULT CVideoMixingRenderer9::GetAspectRatioMode(DWORD* mode) {
    if (!mode) return E_POINTER;
    CAutoLock lock(&lock_);
    REQUIRE_WINDOWLESS();
    *mode = aspectMode_;
    return S_OK;
}

HRESULT CVideoMixingRenderer9::SetAspectRatioMode(DWORD mode) {
    CAutoLock lock(&lock_);
    REQUIRE_WINDOWLESS();
    if (mode != VMR9ARMode_None && mode != VMR9ARMode_LetterBox) return E_INVALIDARG;
    aspectMode_ = mode;
    return S_OK;
}

HRESULT CVideoMixingRenderer9::SetVideoClippingWindow(HWND window) {
    CAutoLock lock(&lock_);
    REQUIRE_WINDOWLESS();
    window_ = window;
    std::shared_ptr<LatestFrameSlot> slot = window ? window->FrameSlot() : nullptr;
    if (window) {
        const SIZE client = window->ClientSize();
        destination_ = {0, 0, client.cx, client.cy};
    }
    std::shared_ptr<const VideoFrame> latest;
    {
        std::lock_guard frame(frameLock_);
        slot_ = slot;
        latest = shown_;
    }
    if (slot) {
        slot->SetPosition({source_, destination_});
        if (latest) slot->Publish(std::move(latest));  // the new pane shows the picture at once
    }
    return S_OK;
}

HRESULT CVideoMixingRenderer9::RepaintVideo(HWND window, HDC) {
    CAutoLock lock(&lock_);
    REQUIRE_WINDOWLESS();
    if (!window || window != window_) return E_INVALIDARG;
    window->FrameSlot()->Repaint();
    return S_OK;
}

HRESULT CVideoMixingRenderer9::DisplayModeChanged() {
    CAutoLock lock(&lock_);
    REQUIRE_WINDOWLESS();
    return S_OK;
}

HRESULT CVideoMixingRenderer9::GetCurrentImage(BYTE** dib) {
    if (!dib) return E_POINTER;
    *dib = nullptr;
    {
        CAutoLock lock(&lock_);
        REQUIRE_WINDOWLESS();
    }
    std::shared_ptr<media::RetainedPicture> current;
    {
        std::lock_guard frame(frameLock_);
        current = current_;
    }
    const std::shared_ptr<const VideoFrame> latest = current ? current->Picture() : nullptr;
    if (!latest) return E_FAIL;
    const std::size_t rowBytes = static_cast<std::size_t>(latest->width) * 4;
    const std::size_t imageBytes = rowBytes * static_cast<std::size_t>(latest->height);
    auto* block = static_cast<BYTE*>(CoTaskMemAlloc(sizeof(BITMAPINFOHEADER) + imageBytes));
    if (!block) return E_OUTOFMEMORY;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = latest->width;
    header.biHeight = latest->height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(imageBytes);
    std::memcpy(block, &header, sizeof(header));
    BYTE* pixels = block + sizeof(header);
    for (LONG y = 0; y < latest->height; ++y)
        std::memcpy(pixels + rowBytes * static_cast<std::size_t>(latest->height - 1 - y),
                    latest->Row(y), rowBytes);
    *dib = block;
    return S_OK;
}

HRESULT CVideoMixingRenderer9::GetCurrentFrame(std::shared_ptr<const VideoFrame>* frame) {
    if (!frame) return E_POINTER;
    frame->reset();
    {
        CAutoLock lock(&lock_);
        REQUIRE_WINDOWLESS();
    }
    std::shared_ptr<media::RetainedPicture> current;
    {
        std::lock_guard latest(frameLock_);
        current = current_;
    }
    if (current) *frame = current->Picture();
    return *frame ? S_OK : E_FAIL;
}

HRESULT CVideoMixingRenderer9::SetBorderColor(COLORREF colour) {
    CAutoLock lock(&lock_);
    REQUIRE_WINDOWLESS();
    border_ = colour;
    return S_OK;
}

HRESULT CVideoMixingRenderer9::GetBorderColor(COLORREF* colour) {
    if (!colour) return E_POINTER;
    CAutoLock lock(&lock_);
    REQUIRE_WINDOWLESS();
    *colour = border_;
    return S_OK;
}

#undef REQUIRE_WINDOWLESS

// ---- IVMRMixerBitmap9 ----

void CVideoMixingRenderer9::RebuildOverlay() {
    std::shared_ptr<const media::OverlayPlan> overlay;
    if (hasBitmap_ && bitmap_ && parameters_.fAlpha > 0.0f)
        overlay = std::make_shared<const media::OverlayPlan>(
            bitmap_, parameters_.rSrc, parameters_.rDest, parameters_.fAlpha,
            (parameters_.dwFlags & VMR9AlphaBitmap_SrcColorKey) != 0, parameters_.clrSrcKey);
    View view;
    {
        std::lock_guard frame(frameLock_);
        overlay_.swap(overlay);
        view = view_;
        overlay = overlay_;
    }
    if (overlay && view.width > 0)
        overlay->For(view.source, format_.width, format_.height, view.width, view.height);
}

HRESULT CVideoMixingRenderer9::SetAlphaBitmap(const VMR9AlphaBitmap* parameters) {
    if (!parameters) return E_POINTER;
    CAutoLock lock(&lock_);
    if (parameters->dwFlags & VMR9AlphaBitmap_Disable) {
        hasBitmap_ = false;
        bitmap_ = nullptr;
        parameters_ = *parameters;
        parameters_.pBitmap = nullptr;
        RebuildOverlay();
        return S_OK;
    }
    const BITMAP* bitmap = parameters->pBitmap;
    if (!(parameters->dwFlags & VMR9AlphaBitmap_hDC) || !bitmap || parameters->pDDS ||
        (parameters->dwFlags & VMR9AlphaBitmap_EntireDDS))
        return E_INVALIDARG;
    const LONG bytesPerPixel = bitmap->bmBitsPixel / 8;
    if ((bitmap->bmBitsPixel != 24 && bitmap->bmBitsPixel != 32) || !bitmap->bmBits ||
        bitmap->bmWidth <= 0 || bitmap->bmHeight <= 0 || bitmap->bmWidth > kMaxDimension ||
        bitmap->bmHeight > kMaxDimension || bitmap->bmWidthBytes < bitmap->bmWidth * bytesPerPixel)
        return E_INVALIDARG;
    if (!(parameters->fAlpha >= 0.0f && parameters->fAlpha <= 1.0f) ||
        !ValidDestination(parameters->rDest))
        return E_INVALIDARG;
    RECT crop = parameters->rSrc;
    crop.left = std::max<LONG>(crop.left, 0);
    crop.top = std::max<LONG>(crop.top, 0);
    crop.right = std::min<LONG>(crop.right, bitmap->bmWidth);
    crop.bottom = std::min<LONG>(crop.bottom, bitmap->bmHeight);
    if (crop.right <= crop.left || crop.bottom <= crop.top) return E_INVALIDARG;

    auto copy = std::make_shared<media::OverlaySource>();
    copy->width = bitmap->bmWidth;
    copy->height = bitmap->bmHeight;
    copy->pixels.resize(static_cast<std::size_t>(copy->width) *
                        static_cast<std::size_t>(copy->height));
    const auto* bits = static_cast<const BYTE*>(bitmap->bmBits);
    if (bytesPerPixel == 3)
        media::Rgb24ToRgb32(bits, bitmap->bmWidthBytes, false, copy->pixels.data(), copy->width,
                            copy->height);
    else
        media::Rgb32ToRgb32(bits, bitmap->bmWidthBytes, false, copy->pixels.data(), copy->width,
                            copy->height);
    bitmap_ = std::move(copy);
    hasBitmap_ = true;
    parameters_ = *parameters;
    parameters_.pBitmap = nullptr;
    parameters_.rSrc = crop;
    RebuildOverlay();
    return S_OK;
}

HRESULT CVideoMixingRenderer9::UpdateAlphaBitmapParameters(const VMR9AlphaBitmap* parameters) {
    if (!parameters) return E_POINTER;
    CAutoLock lock(&lock_);
    if (parameters->dwFlags & VMR9AlphaBitmap_Disable) {
        hasBitmap_ = false;
        parameters_.dwFlags = parameters->dwFlags;
        RebuildOverlay();
        return S_OK;
    }
    if (!hasBitmap_ || (parameters->dwFlags & VMR9AlphaBitmap_hDC) || parameters->pBitmap ||
        parameters->pDDS)
        return E_INVALIDARG;
    if (!(parameters->fAlpha >= 0.0f && parameters->fAlpha <= 1.0f) ||
        !ValidDestination(parameters->rDest))
        return E_INVALIDARG;
    RECT crop = parameters_.rSrc;
    if (parameters->dwFlags & VMR9AlphaBitmap_SrcRect) {
        crop = parameters->rSrc;
        crop.left = std::max<LONG>(crop.left, 0);
        crop.top = std::max<LONG>(crop.top, 0);
        crop.right = std::min<LONG>(crop.right, bitmap_->width);
        crop.bottom = std::min<LONG>(crop.bottom, bitmap_->height);
        if (crop.right <= crop.left || crop.bottom <= crop.top) return E_INVALIDARG;
    }
    parameters_.dwFlags = parameters->dwFlags | VMR9AlphaBitmap_hDC;
    parameters_.rSrc = crop;
    parameters_.rDest = parameters->rDest;
    parameters_.fAlpha = parameters->fAlpha;
    parameters_.clrSrcKey = parameters->clrSrcKey;
    parameters_.dwFilterMode = parameters->dwFilterMode;
    RebuildOverlay();
    return S_OK;
}

HRESULT CVideoMixingRenderer9::GetAlphaBitmapParameters(VMR9AlphaBitmap* parameters) {
    if (!parameters) return E_POINTER;
    CAutoLock lock(&lock_);
    *parameters = parameters_;
    parameters->pBitmap = nullptr;
    return S_OK;
}

// ---- format and frames ----

HRESULT CVideoMixingRenderer9::SetVideoFormat(const CMediaType& type) {
    if (!IsAcceptedType(type)) return VFW_E_TYPE_NOT_ACCEPTED;
    const auto& header = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
    CAutoLock lock(&lock_);
    media::VideoInputFormat format;
    format.width = header.biWidth;
    format.height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    if (type.subtype == MEDIASUBTYPE_UYVY) {
        format.layout = media::PixelLayout::Uyvy;
        format.stride = (format.width * 2 + 3) & ~3;
    } else if (type.subtype == MEDIASUBTYPE_RGB24) {
        format.layout = media::PixelLayout::Rgb24;
        format.stride = (format.width * 3 + 3) & ~3;
        format.bottomUp = header.biHeight > 0;
    } else {
        format.layout = media::PixelLayout::Rgb32;
        format.stride = format.width * 4;
        format.bottomUp = header.biHeight > 0;
    }
    format_ = format;
    source_ = {0, 0, format.width, format.height};
    RebuildOverlay();
    PushPosition();
    return S_OK;
}

void CVideoMixingRenderer9::ClearVideoFormat() {
    CAutoLock lock(&lock_);
    format_ = media::VideoInputFormat();
    RebuildOverlay();
    PushPosition();
    std::lock_guard frame(frameLock_);
    current_ = nullptr;
    shown_ = nullptr;
    pool_.clear();
}

std::shared_ptr<VideoFrame> CVideoMixingRenderer9::FreeFrameLocked() {
    for (const auto& frame : pool_)
        if (frame.use_count() == 1) return frame;  // held by nobody else
    pool_.push_back(std::make_shared<VideoFrame>());
    return pool_.back();
}

bool CVideoMixingRenderer9::CanKeepSamples() const {
    // Keeping one sample must leave the upstream filter two to fill while the pane paints.
    IMemAllocator* allocator = pins_.empty() ? nullptr : pins_[0]->PeekAllocator();
    ALLOCATOR_PROPERTIES properties{};
    return allocator && SUCCEEDED(allocator->GetProperties(&properties)) &&
           properties.cBuffers >= 3;
}

HRESULT CVideoMixingRenderer9::RenderSample(IMediaSample* sample) {
    const media::VideoInputFormat format = format_;
    if (format.layout == media::PixelLayout::None) return S_OK;
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)) || !data) return S_OK;
    if (sample->GetActualDataLength() < format.FrameBytes())
        return S_OK;  // a short frame is not shown

    std::shared_ptr<VideoFrame> frame;
    std::shared_ptr<const media::OverlayPlan> plan;
    std::shared_ptr<LatestFrameSlot> slot;
    View view;
    {
        std::lock_guard lock(frameLock_);
        frame = FreeFrameLocked();
        plan = overlay_;
        slot = slot_;
        view = view_;
    }
    std::shared_ptr<media::RetainedPicture> retained;
    if (view.width > 0) {
        // The pane's picture at the pane's size; the full-size one only when asked for.
        frame->Resize(view.width, view.height);
        frame->fitted = true;
        scaler_.Scale(format, data, view.source, frame->pixels.data(), view.width, view.height);
        if (plan) {
            const auto overlay =
                plan->For(view.source, format.width, format.height, view.width, view.height);
            if (overlay && overlay->Fits(*frame)) overlay->Blend(*frame);
        }
        retained = CanKeepSamples() ? std::make_shared<media::RetainedPicture>(
                                          format, ComPtr<IMediaSample>::Retain(sample), data, plan)
                                    : std::make_shared<media::RetainedPicture>(format, data, plan);
    } else {
        // No destination to fit: the whole video at its own size, which is the full picture.
        frame->Resize(format.width, format.height);
        frame->fitted = false;
        media::ConvertFrame(format, data, frame->pixels.data());
        if (plan) {
            const RECT whole{0, 0, format.width, format.height};
            const auto overlay =
                plan->For(whole, format.width, format.height, format.width, format.height);
            if (overlay && overlay->Fits(*frame)) overlay->Blend(*frame);
        }
        retained = std::make_shared<media::RetainedPicture>(frame);
    }

    std::shared_ptr<const VideoFrame> done = std::move(frame);
    std::shared_ptr<media::RetainedPicture> previous;
    {
        std::lock_guard lock(frameLock_);
        previous = std::exchange(current_, std::move(retained));
        shown_ = done;
    }
    if (slot) slot->Publish(std::move(done));
    // `previous` lets its sample go here, outside the lock.
    return S_OK;
}
