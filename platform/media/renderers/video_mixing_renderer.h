// CVideoMixingRenderer9: the video mixing renderer (CLSID_VideoMixingRenderer9) in windowless
// mode. It converts each frame of stream 0 to 32-bit RGB at the size of its destination in the
// clipping window (the source rectangle scaled in the same pass), lays the alpha bitmap over it
// and hands it to the window's latest-frame slot, which paints it without scaling. It keeps the
// latest input frame and makes the full-size picture from it only when GetCurrentImage or
// GetCurrentFrame asks. Frames are shown on arrival, in paused and running state alike (live
// video: no clock).
//
// Threads: configuration, window and bitmap calls come from the application thread under the
// filter lock; frames arrive on the upstream streaming thread under the receive lock. They meet
// only in the frame lock, held for pointer swaps, never across a conversion or a call out.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "platform/media/base/base_filter.h"
#include "platform/media/interfaces/ivideo_frame_source.h"
#include "platform/media/interfaces/ivmr_filter_config9.h"
#include "platform/media/interfaces/ivmr_mixer_bitmap9.h"
#include "platform/media/interfaces/ivmr_windowless_control9.h"
#include "platform/media/renderers/alpha_overlay.h"
#include "platform/media/renderers/frame_scale.h"
#include "platform/media/renderers/latest_frame_slot.h"
#include "platform/media/renderers/overlay_plan.h"
#include "platform/media/renderers/retained_picture.h"
#include "platform/media/renderers/video_input_format.h"
#include "platform/media/renderers/vmr_input_pin.h"

class CVideoMixingRenderer9 final : public CBaseFilter,
                                    public IVMRFilterConfig9,
                                    public IVMRWindowlessControl9,
                                    public IVMRMixerBitmap9,
                                    public IVideoFrameSource {
  public:
    // Class-table creation function.
    static CUnknown* CreateInstance(IUnknown* outer, HRESULT* hr);

    DECLARE_IUNKNOWN
    // Adds IVMRFilterConfig9, IVMRWindowlessControl9 and IVMRMixerBitmap9.
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    int GetPinCount() override;
    CBasePin* GetPin(int n) override;
    // Waits for a frame in progress to finish.
    HRESULT Stop() override;

    // IVMRFilterConfig9
    HRESULT SetImageCompositor(IVMRImageCompositor9* compositor) override;
    HRESULT SetNumberOfStreams(DWORD streams) override;
    HRESULT GetNumberOfStreams(DWORD* streams) override;
    HRESULT SetRenderingPrefs(DWORD preferences) override;
    HRESULT GetRenderingPrefs(DWORD* preferences) override;
    HRESULT SetRenderingMode(DWORD mode) override;
    HRESULT GetRenderingMode(DWORD* mode) override;

    // IVMRWindowlessControl9
    HRESULT GetNativeVideoSize(LONG* width, LONG* height, LONG* aspectWidth,
                               LONG* aspectHeight) override;
    HRESULT GetMinIdealVideoSize(LONG* width, LONG* height) override;
    HRESULT GetMaxIdealVideoSize(LONG* width, LONG* height) override;
    HRESULT SetVideoPosition(const RECT* source, const RECT* destination) override;
    HRESULT GetVideoPosition(RECT* source, RECT* destination) override;
    HRESULT GetAspectRatioMode(DWORD* mode) override;
    HRESULT SetAspectRatioMode(DWORD mode) override;
    HRESULT SetVideoClippingWindow(HWND window) override;
    HRESULT RepaintVideo(HWND window, HDC dc) override;
    HRESULT DisplayModeChanged() override;
    HRESULT GetCurrentImage(BYTE** dib) override;

    // IVideoFrameSource: the picture GetCurrentImage copies, shared.
    HRESULT GetCurrentFrame(std::shared_ptr<const VideoFrame>* frame) override;
    HRESULT SetBorderColor(COLORREF colour) override;
    HRESULT GetBorderColor(COLORREF* colour) override;

    // IVMRMixerBitmap9
    HRESULT SetAlphaBitmap(const VMR9AlphaBitmap* parameters) override;
    HRESULT UpdateAlphaBitmapParameters(const VMR9AlphaBitmap* parameters) override;
    HRESULT GetAlphaBitmapParameters(VMR9AlphaBitmap* parameters) override;

    // Pin side. Application thread, filter lock held: the format of stream 0 was agreed
    // (SetVideoFormat) or its connection broken (ClearVideoFormat).
    HRESULT SetVideoFormat(const CMediaType& type);
    void ClearVideoFormat();
    // Streaming thread, receive lock held: converts, blends and hands over one frame, and keeps
    // it for the full-size picture.
    HRESULT RenderSample(IMediaSample* sample);
    CCritSec* ReceiveLock() { return &receiveLock_; }
    // True for the types the input pins take.
    static bool IsAcceptedType(const CMediaType& type);

  private:
    // What the pane shows: part `source` of the video (inside it, not empty) at `width` ×
    // `height`; 0 × 0 when the destination is empty (the whole video at its own size then).
    struct View {
        RECT source{0, 0, 0, 0};
        LONG width = 0;
        LONG height = 0;
    };

    explicit CVideoMixingRenderer9(IUnknown* outer);
    ~CVideoMixingRenderer9() override;

    bool AnyPinConnected() const;
    // A new overlay plan for the current bitmap and parameters, its overlay for the pane built
    // at once (not on the streaming thread); filter lock held.
    void RebuildOverlay();
    // A free frame of the pool for the next picture; frame lock held.
    std::shared_ptr<VideoFrame> FreeFrameLocked();
    // Hands the position to the slot and works out the view from it; filter lock held.
    void PushPosition();
    // The frames a pin's allocator lends are enough to keep one (else the frame is copied).
    bool CanKeepSamples() const;

    CCritSec lock_;         // the filter lock
    CCritSec receiveLock_;  // held around each frame
    // Guarded by the filter lock; the pin list changes only while no pin is connected.
    std::vector<std::unique_ptr<CVmrInputPin>> pins_;
    bool streamsSet_ = false;
    DWORD mode_ = VMR9Mode_Windowed;
    DWORD preferences_ = 0;
    DWORD aspectMode_ = VMR9ARMode_None;
    COLORREF border_ = 0;
    HWND window_ = nullptr;
    RECT source_{0, 0, 0, 0};
    RECT destination_{0, 0, 0, 0};
    VMR9AlphaBitmap parameters_{};                        // pBitmap always null
    std::shared_ptr<const media::OverlaySource> bitmap_;  // copy of the caller's bitmap in use
    bool hasBitmap_ = false;

    // Written under the filter lock while stopped (format agreement); read on the streaming
    // thread.
    media::VideoInputFormat format_;

    std::mutex frameLock_;  // guards the members below; held only for pointer swaps
    std::shared_ptr<LatestFrameSlot> slot_;
    std::shared_ptr<const media::OverlayPlan> overlay_;  // null without a visible bitmap
    View view_;
    std::shared_ptr<media::RetainedPicture> current_;  // the latest input frame
    std::shared_ptr<const VideoFrame> shown_;          // the latest picture handed to the pane
    std::vector<std::shared_ptr<VideoFrame>> pool_;

    // Streaming thread only (receive lock held).
    media::FrameScaler scaler_;
};
