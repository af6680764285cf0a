#include "platform/media/base/mem_allocator.h"

#include <algorithm>
#include <new>

#include "platform/media/interfaces/media_errors.h"

HRESULT CMemAllocator::Create(IMemAllocator** allocator) {
    if (!allocator) return E_POINTER;
    auto* object = new (std::nothrow) CMemAllocator();
    if (!object) return E_OUTOFMEMORY;
    *allocator = object;
    object->AddRef();
    return S_OK;
}

HRESULT CMemAllocator::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IMemAllocator) return GetInterface(static_cast<IMemAllocator*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CMemAllocator::SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual) {
    if (!request || !actual) return E_POINTER;
    const LONG align = std::max<LONG>(request->cbAlign, 1);
    if ((align & (align - 1)) != 0 || request->cbBuffer < 0 || request->cbPrefix < 0)
        return E_INVALIDARG;
    std::lock_guard lock(mutex_);
    if (committed_) return VFW_E_ALREADY_COMMITTED;
    if (outstanding_ > 0) return VFW_E_BUFFERS_OUTSTANDING;
    properties_.cBuffers = std::max<LONG>(request->cBuffers, 1);
    properties_.cbBuffer = request->cbBuffer;
    properties_.cbAlign = align;
    properties_.cbPrefix = request->cbPrefix;
    propertiesSet_ = true;
    *actual = properties_;
    return S_OK;
}

HRESULT CMemAllocator::GetProperties(ALLOCATOR_PROPERTIES* properties) {
    if (!properties) return E_POINTER;
    std::lock_guard lock(mutex_);
    *properties = properties_;
    return S_OK;
}

HRESULT CMemAllocator::Commit() {
    std::lock_guard lock(mutex_);
    if (!propertiesSet_) return VFW_E_SIZENOTSET;
    if (committed_) return S_OK;
    if (!memory_) {
        const std::size_t align = static_cast<std::size_t>(properties_.cbAlign);
        const std::size_t slot =
            (static_cast<std::size_t>(properties_.cbPrefix + properties_.cbBuffer) + align - 1) /
            align * align;
        const std::size_t total = std::max<std::size_t>(slot * properties_.cBuffers, align);
        memory_.reset(
            static_cast<BYTE*>(std::aligned_alloc(align, (total + align - 1) / align * align)));
        if (!memory_) return E_OUTOFMEMORY;
        samples_.clear();
        free_.clear();
        samples_.reserve(properties_.cBuffers);
        for (LONG i = 0; i < properties_.cBuffers; ++i) {
            BYTE* buffer = memory_.get() + slot * i + properties_.cbPrefix;
            samples_.push_back(std::make_unique<CMediaSample>(this, buffer, properties_.cbBuffer));
            free_.push_back(samples_.back().get());
        }
    }
    committed_ = true;
    return S_OK;
}

HRESULT CMemAllocator::Decommit() {
    std::lock_guard lock(mutex_);
    if (!committed_) return S_OK;
    committed_ = false;
    if (outstanding_ == 0) FreeMemoryLocked();
    freed_.notify_all();
    return S_OK;
}

HRESULT CMemAllocator::GetBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* stop,
                                 DWORD flags) {
    if (!sample) return E_POINTER;
    *sample = nullptr;
    CMediaSample* taken = nullptr;
    {
        std::unique_lock lock(mutex_);
        while (committed_ && free_.empty()) {
            if (flags & AM_GBF_NOWAIT) return VFW_E_TIMEOUT;
            freed_.wait(lock);
        }
        if (!committed_) return VFW_E_NOT_COMMITTED;
        taken = free_.back();
        free_.pop_back();
        ++outstanding_;
    }
    AddRef();  // released when the sample comes back
    taken->ResetForReuse();
    taken->AddRef();
    if (start) taken->SetTime(start, stop);
    *sample = taken;
    return S_OK;
}

HRESULT CMemAllocator::ReleaseBuffer(IMediaSample* sample) {
    if (!sample) return E_POINTER;
    {
        std::lock_guard lock(mutex_);
        auto ours = std::find_if(samples_.begin(), samples_.end(), [sample](const auto& s) {
            return static_cast<IMediaSample*>(s.get()) == sample;
        });
        if (ours == samples_.end()) return E_INVALIDARG;
        free_.push_back(ours->get());
        --outstanding_;
        if (!committed_ && outstanding_ == 0) FreeMemoryLocked();
        freed_.notify_one();
    }
    Release();  // may destroy the allocator: nothing after this touches it
    return S_OK;
}

void CMemAllocator::FreeMemoryLocked() {
    free_.clear();
    samples_.clear();
    memory_.reset();
}
