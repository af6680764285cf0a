// CTransformFilter: a filter with one input and one output pin that turns each input sample
// into an output sample.
//
// Locks: `m_csFilter` is the filter lock (state changes, connections; application thread).
// `m_csReceive` is held on the streaming thread for the whole of each Receive (and EndOfStream),
// and taken by Stop after the input pin is inactive, so StopStreaming never overlaps a Transform.
//
// Overridable operations, in the order a filter file reads them:
//   CheckInputType     Required. S_OK when the input type is acceptable.
//   CheckTransform     Required. S_OK when the output type goes with the input type.
//   GetMediaType       Required. The output's preferred types once the input is connected.
//   DecideBufferSize   Required. Sizes the output allocator.
//   SetMediaType       Optional. Told the agreed type of a pin. Default: S_OK.
//   CheckConnect       Optional. Vets the peer of a pin. Default: S_OK.
//   CompleteConnect    Optional. Last step of a pin's connection; a failure undoes it.
//                      Default: S_OK.
//   BreakConnect       Optional. A pin's connection is broken. Default: S_OK.
//   StartStreaming     Optional. Stopped -> paused with both pins connected (under both locks);
//                      a failure keeps the filter stopped. Default: S_OK.
//   StopStreaming      Optional. Back to stopped, after the last Receive. Default: S_OK.
//   Transform(in, out) Required here (CTransInPlaceFilter replaces it). Fills `out` from `in`;
//                      S_OK delivers it, S_FALSE drops it. Default: E_UNEXPECTED.
//   Receive            Optional. Per input sample, receive lock held. Default: takes an output
//                      sample, copies the times and flags, Transform, Deliver.
//   EndOfStream, BeginFlush, EndFlush, NewSegment
//                      Optional. Default: passed on downstream.
#pragma once

#include <memory>

#include "platform/media/base/base_filter.h"
#include "platform/media/base/transform_pins.h"

class CTransformFilter : public CBaseFilter {
  public:
    CTransformFilter(const char* objectName, IUnknown* outer, REFCLSID clsid,
                     HRESULT* hr = nullptr);

    // Two pins, created on first use: 0 input ("XForm In"), 1 output ("XForm Out").
    int GetPinCount() override { return 2; }
    CBasePin* GetPin(int n) override;
    // Inactivates the input, waits for the receive lock, inactivates the output, StopStreaming.
    HRESULT Stop() override;
    // From stopped with both pins connected: StartStreaming under the receive lock first.
    HRESULT Pause() override;

    virtual HRESULT CheckInputType(const CMediaType* type) = 0;
    virtual HRESULT CheckTransform(const CMediaType* input, const CMediaType* output) = 0;
    virtual HRESULT GetMediaType(int position, CMediaType* type) = 0;
    virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;
    virtual HRESULT SetMediaType(PIN_DIRECTION direction, const CMediaType* type);
    virtual HRESULT CheckConnect(PIN_DIRECTION direction, IPin* pin);
    virtual HRESULT CompleteConnect(PIN_DIRECTION direction, IPin* receivePin);
    virtual HRESULT BreakConnect(PIN_DIRECTION direction);
    virtual HRESULT StartStreaming();
    virtual HRESULT StopStreaming();
    virtual HRESULT Transform(IMediaSample* input, IMediaSample* output);
    virtual HRESULT Receive(IMediaSample* sample);
    virtual HRESULT EndOfStream();
    virtual HRESULT BeginFlush();
    virtual HRESULT EndFlush();
    virtual HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

    // Optional: creates the two pins (called once, under the filter lock, by the first
    // GetPin). Default: a CTransformInputPin "XForm In" and a CTransformOutputPin "XForm Out".
    virtual HRESULT CreatePins();

    CTransformInputPin* InputPin() { return m_pInput.get(); }
    CTransformOutputPin* OutputPin() { return m_pOutput.get(); }
    CCritSec* ReceiveLock() { return &m_csReceive; }

  protected:
    ~CTransformFilter() override;

    // Streaming thread: an output sample carrying the times and flags of `input`.
    HRESULT InitializeOutputSample(IMediaSample* input, IMediaSample** output);

    CCritSec m_csFilter;   // the filter lock
    CCritSec m_csReceive;  // held around each sample
    // Created under the filter lock on first GetPin; live as long as the filter.
    std::unique_ptr<CTransformInputPin> m_pInput;
    std::unique_ptr<CTransformOutputPin> m_pOutput;
    // Guarded by the receive lock: set by EndOfStream on the streaming thread, cleared by Stop.
    bool m_bEOSDelivered = false;
};
