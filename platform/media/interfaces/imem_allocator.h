// IMemAllocator: a pool of samples shared by an output pin and the input pin it delivers to.
#pragma once

#include "platform/media/interfaces/filter_types.h"
#include "platform/media/interfaces/imedia_sample.h"

// GetBuffer flag: fail with VFW_E_TIMEOUT instead of waiting when no sample is free.
inline constexpr DWORD AM_GBF_NOWAIT = 4;

struct IMemAllocator : IUnknown {
    static constexpr IID kIid = {
        0x56A8689C, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

    // Asks for buffers; `actual` receives what will be provided. Only while decommitted with no
    // sample outstanding (VFW_E_ALREADY_COMMITTED, VFW_E_BUFFERS_OUTSTANDING else).
    virtual HRESULT SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual) = 0;
    virtual HRESULT GetProperties(ALLOCATOR_PROPERTIES* properties) = 0;
    // Allocates the memory; GetBuffer works from now on. VFW_E_SIZENOTSET before SetProperties.
    virtual HRESULT Commit() = 0;
    // Makes GetBuffer fail (waiters are woken with VFW_E_NOT_COMMITTED); the memory is freed once
    // every outstanding sample has come back.
    virtual HRESULT Decommit() = 0;
    // A free sample with a reference for the caller; waits while all are in use (any thread).
    // VFW_E_NOT_COMMITTED when decommitted. The times, when given, are set on the sample.
    virtual HRESULT GetBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* stop,
                              DWORD flags) = 0;
    // Called by a sample on its last Release; not for other callers.
    virtual HRESULT ReleaseBuffer(IMediaSample* sample) = 0;

  protected:
    ~IMemAllocator() = default;
};

inline constexpr IID IID_IMemAllocator = IMemAllocator::kIid;
