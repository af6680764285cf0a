// CFilterTitleOverlay: the "Merge Overlay" filter. An in-place transform with one input and one
// output pin that burns a title (top-left) and the local date and time (bottom-right) into every
// UYVY video frame passing through it, and answers IMergeOverlay and ISpecifyPropertyPages.
//
// Threads: the application thread connects the pins, changes the state and calls IMergeOverlay;
// the upstream filter's streaming thread calls Transform. The framework's filter and receive
// locks keep state changes and samples apart; m_csOverlay serialises the IMergeOverlay methods.
// The title and the overlay type change only while the filter is stopped, so Transform takes no
// lock for them; the frame rate it takes from the first sample goes to the controller under the
// controller's rate lock, since the application thread may read the rate at any time.
#pragma once

#include <memory>

#include "overlay/interface/imerge_overlay.h"
#include "overlay/overlay_controller.h"
#include "platform/com/ispecify_property_pages.h"
#include "platform/media/base/crit_sec.h"
#include "platform/media/base/trans_in_place_filter.h"

class CFilterTitleOverlay final : public CTransInPlaceFilter,
                                  public ISpecifyPropertyPages,
                                  public IMergeOverlay {
  public:
    // Creation function of the class factory: the new filter, or null with *hr set to
    // E_OUTOFMEMORY.
    static CUnknown* CreateInstance(IUnknown* outer, HRESULT* hr);
    // The record the filter mapper registers for this class: "Merge Overlay", merit
    // MERIT_DO_NOT_USE, pins "Input" and "Output" of any type.
    static const AMOVIESETUP_FILTER& SetupData();

    DECLARE_IUNKNOWN
    // Adds ISpecifyPropertyPages and IMergeOverlay to the framework's interfaces.
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // Video with the UYVY subtype only (E_INVALIDARG else).
    HRESULT CheckInputType(const CMediaType* type) override;
    // For the input: takes the frame format of the connection (see SetUpInputFormat).
    HRESULT CompleteConnect(PIN_DIRECTION direction, IPin* receivePin) override;
    // E_FAIL when the input's format has no pixel strategy: the filter stays stopped.
    HRESULT StartStreaming() override;
    HRESULT StopStreaming() override;
    // Streaming thread: draws the overlay into the sample's frame unless the overlay type is 0.
    // Always S_OK; times, length and type of the sample pass unchanged.
    HRESULT Transform(IMediaSample* sample) override;
    using CTransInPlaceFilter::Transform;

    // ISpecifyPropertyPages: the filter's one property page.
    HRESULT GetPages(CAUUID* pages) override;

    // IMergeOverlay (see imerge_overlay.h).
    HRESULT SetOverlayType(int type) override;
    HRESULT GetOverlayType(int* type) override;
    HRESULT SetMergeMode(int byCover) override;
    HRESULT GetMergeMode(int* byCover) override;
    HRESULT SetTitle(const WCHAR* text, int byteCount) override;
    HRESULT GetTitle(WCHAR* buffer, int* byteCount) override;
    HRESULT SetTitleColor(BYTE r, BYTE g, BYTE b) override;
    HRESULT GetTitleColor(BYTE* r, BYTE* g, BYTE* b) override;
    HRESULT SetTitlePosition(int x, int y) override;
    HRESULT GetTitlePosition(POINT* position) override;
    HRESULT SetTitleFont(LOGFONTW font) override;
    HRESULT GetTitleFont(LOGFONTW* font) override;
    HRESULT SetTitleDuration(double start, double end) override;
    HRESULT GetTitleDuration(double* start, double* end) override;

    // For code linked with the filter, not for COM clients (IMergeOverlay::SetOverlayType leaves
    // the type alone): the drawing, whose stamp clock may be replaced while stopped (null only
    // when construction failed), and the overlay type, 0 to pass frames untouched
    // (E_UNEXPECTED unless the filter is stopped).
    COverlayController* Controller() const { return m_pController.get(); }
    HRESULT SetOverlayTypeInModule(int type);

  private:
    CFilterTitleOverlay(IUnknown* outer, HRESULT* hr);
    ~CFilterTitleOverlay() override;

    // Format set-up when the input connects: the pixel format from the subtype, the frame
    // geometry and rate from the VIDEOINFOHEADER. E_FAIL without a connected input or without a
    // complete FORMAT_VideoInfo block.
    HRESULT SetUpInputFormat();
    // Streaming thread: the frame rate from the first sample's times, when the format had none.
    void TakeRateFromSample(IMediaSample* sample);

    // Written under m_csOverlay and the filter lock while stopped; read under m_csOverlay by
    // IMergeOverlay and without a lock on the streaming thread, which starts after the write.
    int m_nOverlayType = 1;
    // Configured on the application thread while stopped (connection, state changes, SetTitle
    // under the filter lock); drawn with on the streaming thread.
    std::unique_ptr<COverlayController> m_pController;
    // Serialises the IMergeOverlay methods.
    CCritSec m_csOverlay;
    // Set at input connection (application thread, stopped); read and cleared on the streaming
    // thread, which starts after the connection.
    BOOL m_bRatePending = 0;
};
