// CMemAllocator: a fixed pool of samples in one block of aligned memory.
#pragma once

#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/com/object_base.h"
#include "platform/media/base/media_sample.h"
#include "platform/media/interfaces/imem_allocator.h"

class CMemAllocator final : public CUnknown, public IMemAllocator {
  public:
    // A new allocator with one reference for the caller.
    static HRESULT Create(IMemAllocator** allocator);

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // A buffer count or alignment below 1 counts as 1; E_INVALIDARG for an alignment that is
    // not a power of two or a negative size.
    HRESULT SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual) override;
    HRESULT GetProperties(ALLOCATOR_PROPERTIES* properties) override;
    HRESULT Commit() override;
    HRESULT Decommit() override;
    // Each sample handed out holds a reference on the allocator until it comes back.
    HRESULT GetBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* stop,
                      DWORD flags) override;
    HRESULT ReleaseBuffer(IMediaSample* sample) override;

  private:
    CMemAllocator() : CUnknown(nullptr) {}
    ~CMemAllocator() override = default;

    struct FreeDeleter {
        void operator()(BYTE* p) const { std::free(p); }
    };

    // Frees the samples and memory; needs the lock and no sample outstanding.
    void FreeMemoryLocked();

    // Guarded by mutex_.
    std::mutex mutex_;
    std::condition_variable freed_;
    ALLOCATOR_PROPERTIES properties_{};
    bool propertiesSet_ = false;
    bool committed_ = false;
    LONG outstanding_ = 0;
    std::unique_ptr<BYTE, FreeDeleter> memory_;
    std::vector<std::unique_ptr<CMediaSample>> samples_;
    std::vector<CMediaSample*> free_;
};
