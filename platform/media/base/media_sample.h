// CMediaSample: the sample of a CMemAllocator. Its buffer belongs to the allocator; its last
// Release hands it back there instead of destroying it.
#pragma once

#include <atomic>

#include "platform/media/interfaces/imem_allocator.h"

class CMediaSample final : public IMediaSample {
  public:
    // `allocator` owns the sample and outlives it (it holds a reference while the sample is out).
    CMediaSample(IMemAllocator* allocator, BYTE* buffer, LONG size);
    ~CMediaSample();
    CMediaSample(const CMediaSample&) = delete;
    CMediaSample& operator=(const CMediaSample&) = delete;

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ULONG AddRef() override;
    // The last reference returns the sample to its allocator.
    ULONG Release() override;

    HRESULT GetPointer(BYTE** buffer) override;
    LONG GetSize() override { return size_; }
    HRESULT GetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) override;
    HRESULT SetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) override;
    HRESULT IsSyncPoint() override { return syncPoint_ ? S_OK : S_FALSE; }
    HRESULT SetSyncPoint(BOOL syncPoint) override;
    HRESULT IsPreroll() override { return preroll_ ? S_OK : S_FALSE; }
    HRESULT SetPreroll(BOOL preroll) override;
    LONG GetActualDataLength() override { return actual_; }
    HRESULT SetActualDataLength(LONG length) override;
    HRESULT GetMediaType(AM_MEDIA_TYPE** type) override;
    HRESULT SetMediaType(AM_MEDIA_TYPE* type) override;
    HRESULT IsDiscontinuity() override { return discontinuity_ ? S_OK : S_FALSE; }
    HRESULT SetDiscontinuity(BOOL discontinuity) override;
    HRESULT GetMediaTime(LONGLONG* start, LONGLONG* stop) override;
    HRESULT SetMediaTime(LONGLONG* start, LONGLONG* stop) override;

    // Allocator only: called when the sample goes out again, and when its memory changes.
    void ResetForReuse();
    void SetBuffer(BYTE* buffer, LONG size);

  private:
    IMemAllocator* allocator_;  // owner; not counted
    std::atomic<ULONG> refs_{0};
    // Owned by the current holder of the sample (one thread at a time).
    BYTE* buffer_;
    LONG size_;
    LONG actual_ = 0;
    bool hasTime_ = false;
    bool hasMediaTime_ = false;
    bool syncPoint_ = false;
    bool preroll_ = false;
    bool discontinuity_ = false;
    REFERENCE_TIME start_ = 0;
    REFERENCE_TIME stop_ = 0;
    LONGLONG mediaStart_ = 0;
    LONGLONG mediaStop_ = 0;
    AM_MEDIA_TYPE* type_ = nullptr;  // task memory or null
};
