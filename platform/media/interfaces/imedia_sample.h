// IMediaSample: one buffer of stream data with its times and flags.
//
// A sample belongs to the allocator that handed it out; the last Release returns it there. Its
// holder may read and, unless the allocator was given to it read-only, write the buffer.
#pragma once

#include "platform/media/interfaces/media_type.h"

struct IMediaSample : IUnknown {
    static constexpr IID kIid = {
        0x56A8689A, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

    // The start of the buffer.
    virtual HRESULT GetPointer(BYTE** buffer) = 0;
    // The buffer's capacity in bytes.
    virtual LONG GetSize() = 0;
    // Stream times in 100 ns. VFW_E_SAMPLE_TIME_NOT_SET when none were set; VFW_S_NO_STOP_TIME
    // is not used: a sample either has both times or none.
    virtual HRESULT GetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) = 0;
    // Null `start` clears the times.
    virtual HRESULT SetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) = 0;
    // S_OK when true, S_FALSE when false (this and the two other flags).
    virtual HRESULT IsSyncPoint() = 0;
    virtual HRESULT SetSyncPoint(BOOL syncPoint) = 0;
    virtual HRESULT IsPreroll() = 0;
    virtual HRESULT SetPreroll(BOOL preroll) = 0;
    // Bytes of valid data.
    virtual LONG GetActualDataLength() = 0;
    // VFW_E_BUFFER_OVERFLOW when `length` exceeds the capacity.
    virtual HRESULT SetActualDataLength(LONG length) = 0;
    // A type change carried by this sample: a copy from CreateMediaType, or S_FALSE and null
    // when the type stays as connected.
    virtual HRESULT GetMediaType(AM_MEDIA_TYPE** type) = 0;
    // Marks a type change (a copy is kept); null clears it.
    virtual HRESULT SetMediaType(AM_MEDIA_TYPE* type) = 0;
    virtual HRESULT IsDiscontinuity() = 0;
    virtual HRESULT SetDiscontinuity(BOOL discontinuity) = 0;
    // Media times (frame numbers for video); VFW_E_MEDIA_TIME_NOT_SET when none.
    virtual HRESULT GetMediaTime(LONGLONG* start, LONGLONG* stop) = 0;
    virtual HRESULT SetMediaTime(LONGLONG* start, LONGLONG* stop) = 0;

  protected:
    ~IMediaSample() = default;
};

inline constexpr IID IID_IMediaSample = IMediaSample::kIid;

inline constexpr HRESULT VFW_E_MEDIA_TIME_NOT_SET = static_cast<HRESULT>(0x80040251u);
