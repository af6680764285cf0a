// IMemInputPin: the sample transport of an input pin.
#pragma once

#include "platform/media/interfaces/imem_allocator.h"

struct IMemInputPin : IUnknown {
    static constexpr IID kIid = {
        0x56A8689D, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

    // The allocator this pin proposes (created on first request), with a new reference.
    virtual HRESULT GetAllocator(IMemAllocator** allocator) = 0;
    // Called by the upstream output pin while connecting: the allocator its samples will come
    // from. `readOnly` forbids writing into them.
    virtual HRESULT NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) = 0;
    // E_NOTIMPL when the pin has no requirements.
    virtual HRESULT GetAllocatorRequirements(ALLOCATOR_PROPERTIES* properties) = 0;
    // One sample, on the upstream filter's streaming thread. The pin adds its own reference
    // when it keeps the sample past the call. S_OK: continue; S_FALSE: send no more until the
    // next stop or flush; VFW_E_WRONG_STATE when the filter is stopped; another failure is an
    // error of the stream.
    virtual HRESULT Receive(IMediaSample* sample) = 0;
    // Receive for each sample in turn; `processed` counts those taken.
    virtual HRESULT ReceiveMultiple(IMediaSample** samples, LONG count, LONG* processed) = 0;
    // S_OK when Receive may block, S_FALSE when it never does.
    virtual HRESULT ReceiveCanBlock() = 0;

  protected:
    ~IMemInputPin() = default;
};

inline constexpr IID IID_IMemInputPin = IMemInputPin::kIid;
