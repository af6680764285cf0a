// CBaseOutputPin: an output pin that delivers samples to an input pin through IMemInputPin,
// from an allocator agreed while connecting.
#pragma once

#include "platform/media/base/base_pin.h"
#include "platform/media/interfaces/imem_input_pin.h"

class CBaseOutputPin : public CBasePin {
  public:
    CBaseOutputPin(const char* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* hr,
                   LPCWSTR name);

    // Agrees the allocator (DecideAllocator).
    HRESULT CompleteConnect(IPin* receivePin) override;
    // Needs the peer's IMemInputPin (E_NOINTERFACE else).
    HRESULT CheckConnect(IPin* pin) override;
    // Decommits and drops the allocator and the peer's IMemInputPin.
    HRESULT BreakConnect() override;
    // Commits the allocator (VFW_E_NO_ALLOCATOR without one); Inactive decommits it, which
    // wakes a streaming thread waiting in GetDeliveryBuffer.
    HRESULT Active() override;
    HRESULT Inactive() override;
    // Data calls are for input pins: E_UNEXPECTED.
    HRESULT EndOfStream() override;
    HRESULT BeginFlush() override;
    HRESULT EndFlush() override;

    // Required: sets the allocator's properties (buffer count and size) for the agreed type,
    // with `request` holding the input pin's requirements (cbAlign at least 1).
    virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;
    // Optional: chooses the allocator: the input pin's, else our own (InitAllocator), each
    // sized by DecideBufferSize and offered with NotifyAllocator(readOnly = FALSE).
    virtual HRESULT DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator);
    // Optional: creates our own allocator. Default: a CMemAllocator.
    virtual HRESULT InitAllocator(IMemAllocator** allocator);

    // Streaming thread. A free sample of the agreed allocator (waits while none is free).
    virtual HRESULT GetDeliveryBuffer(IMediaSample** sample, REFERENCE_TIME* start,
                                      REFERENCE_TIME* stop, DWORD flags);
    // Streaming thread. Hands the sample to the connected input pin (its Receive result).
    virtual HRESULT Deliver(IMediaSample* sample);
    virtual HRESULT DeliverEndOfStream();
    virtual HRESULT DeliverBeginFlush();
    virtual HRESULT DeliverEndFlush();
    virtual HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

    // The agreed allocator and the peer's transport, or null; valid while connected.
    IMemAllocator* Allocator() const { return m_pAllocator.Get(); }
    IMemInputPin* InputPin() const { return m_pInputPin.Get(); }

  protected:
    // Guarded by the filter lock; changed only while stopped.
    ComPtr<IMemAllocator> m_pAllocator;
    ComPtr<IMemInputPin> m_pInputPin;
};
