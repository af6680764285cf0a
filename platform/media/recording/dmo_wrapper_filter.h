// CDmoWrapperFilter: the DMO wrapper filter (CLSID_DMOWrapperFilter). Hosts one media object
// with one input and one output stream (IDMOWrapperFilter::Init), aggregated so that
// QueryInterface on the filter answers the object's IMediaObject and IEncoderQuality with the
// filter's identity. Pins exist once a media object is hosted: "XForm In" and "XForm Out".
//
// Types: the input pin takes what the object's SetInputType accepts; the output offers the
// object's output types. Streaming resources are allocated when the filter leaves stopped and
// freed when it stops. Each input sample goes to ProcessInput with its start time and
// sync-point flag; every output unit ProcessOutput gives is delivered as one sample with the
// object's times and key-frame flag. EndOfStream drains the object first.
#pragma once

#include "platform/media/base/transform_filter.h"
#include "platform/media/interfaces/idmo_wrapper_filter.h"
#include "platform/media/interfaces/imedia_object.h"

class CDmoWrapperFilter final : public CTransformFilter, public IDMOWrapperFilter {
  public:
    // Class-table creation function.
    static CUnknown* CreateInstance(IUnknown* outer, HRESULT* hr);

    DECLARE_IUNKNOWN
    // Adds IDMOWrapperFilter, and the hosted object's IMediaObject and IEncoderQuality.
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IDMOWrapperFilter
    HRESULT Init(REFCLSID dmo, REFCLSID category) override;

    // No pins before Init.
    int GetPinCount() override;
    CBasePin* GetPin(int n) override;

    HRESULT CheckInputType(const CMediaType* type) override;
    HRESULT CheckTransform(const CMediaType* input, const CMediaType* output) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT SetMediaType(PIN_DIRECTION direction, const CMediaType* type) override;
    HRESULT BreakConnect(PIN_DIRECTION direction) override;
    HRESULT StartStreaming() override;
    HRESULT StopStreaming() override;
    HRESULT Receive(IMediaSample* sample) override;
    HRESULT EndOfStream() override;

  private:
    explicit CDmoWrapperFilter(IUnknown* outer);
    ~CDmoWrapperFilter() override;

    // Streaming thread, receive lock held: delivers every output unit the object has ready.
    HRESULT DeliverOutput();

    // Set once by Init under the filter lock (application thread), then read-only.
    ComPtr<IUnknown> m_inner;       // the object's non-delegating unknown (owns it)
    IMediaObject* m_dmo = nullptr;  // not counted: valid while m_inner lives
};
