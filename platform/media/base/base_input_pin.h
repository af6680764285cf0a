// CBaseInputPin: an input pin that receives samples through IMemInputPin.
//
// Receive runs on the upstream filter's streaming thread. A filter that processes samples takes
// its receive lock in its Receive override before calling CBaseInputPin::Receive, and its Stop
// takes the same lock after making the pins inactive: a sample that arrives after that finds the
// filter stopped and is refused with VFW_E_WRONG_STATE before the pin's state is touched.
#pragma once

#include <atomic>

#include "platform/media/base/base_pin.h"
#include "platform/media/interfaces/imem_input_pin.h"

class CBaseInputPin : public CBasePin, public IMemInputPin {
  public:
    CBaseInputPin(const char* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* hr,
                  LPCWSTR name);

    DECLARE_IUNKNOWN
    // Adds IMemInputPin.
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IMemInputPin. GetAllocator creates a CMemAllocator on first use. Receive checks that the
    // pin may stream (CheckStreaming) and takes over a type change carried by the sample (it
    // must pass CheckMediaType, VFW_E_INVALIDMEDIATYPE else); derived classes call it first.
    HRESULT GetAllocator(IMemAllocator** allocator) override;
    HRESULT NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
    HRESULT GetAllocatorRequirements(ALLOCATOR_PROPERTIES* properties) override;
    HRESULT Receive(IMediaSample* sample) override;
    HRESULT ReceiveMultiple(IMediaSample** samples, LONG count, LONG* processed) override;
    HRESULT ReceiveCanBlock() override;

    // Flushing: Receive answers S_FALSE between BeginFlush and EndFlush.
    HRESULT BeginFlush() override;
    HRESULT EndFlush() override;
    // Clears flushing and run-time error and decommits the allocator.
    HRESULT Inactive() override;
    // Decommits and drops the allocator.
    HRESULT BreakConnect() override;

    // Streaming thread: S_OK when a sample may be processed; VFW_E_WRONG_STATE when the filter is
    // stopped, S_FALSE while flushing, VFW_E_RUNTIME_ERROR after a run-time error,
    // VFW_E_NOT_CONNECTED when unconnected.
    HRESULT CheckStreaming();

    bool IsFlushing() const { return m_bFlushing.load(); }
    bool IsReadOnly() const { return m_bReadOnly; }
    // The allocator the upstream pin delivers from, not counted (valid while connected).
    IMemAllocator* PeekAllocator() const { return m_pAllocator.Get(); }

  protected:
    // Guarded by the filter lock; changed only while stopped.
    ComPtr<IMemAllocator> m_pAllocator;
    bool m_bReadOnly = false;
    // Any thread.
    std::atomic<bool> m_bFlushing{false};
    std::atomic<bool> m_bRunTimeError{false};
};
