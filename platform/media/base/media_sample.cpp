#include "platform/media/base/media_sample.h"

#include "platform/com/object_base.h"
#include "platform/media/interfaces/media_errors.h"

CMediaSample::CMediaSample(IMemAllocator* allocator, BYTE* buffer, LONG size)
    : allocator_(allocator), buffer_(buffer), size_(size) {}

CMediaSample::~CMediaSample() {
    DeleteMediaType(type_);
}

HRESULT CMediaSample::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IMediaSample)
        return GetInterface(static_cast<IMediaSample*>(this), ppv);
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG CMediaSample::AddRef() {
    return ++refs_;
}

ULONG CMediaSample::Release() {
    const ULONG left = --refs_;
    if (left == 0) allocator_->ReleaseBuffer(this);
    return left;
}

HRESULT CMediaSample::GetPointer(BYTE** buffer) {
    if (!buffer) return E_POINTER;
    *buffer = buffer_;
    return S_OK;
}

HRESULT CMediaSample::GetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) {
    if (!start || !stop) return E_POINTER;
    if (!hasTime_) return VFW_E_SAMPLE_TIME_NOT_SET;
    *start = start_;
    *stop = stop_;
    return S_OK;
}

HRESULT CMediaSample::SetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) {
    if (!start) {
        hasTime_ = false;
        return S_OK;
    }
    start_ = *start;
    stop_ = stop ? *stop : *start + 1;
    hasTime_ = true;
    return S_OK;
}

HRESULT CMediaSample::SetSyncPoint(BOOL syncPoint) {
    syncPoint_ = syncPoint != FALSE;
    return S_OK;
}

HRESULT CMediaSample::SetPreroll(BOOL preroll) {
    preroll_ = preroll != FALSE;
    return S_OK;
}

HRESULT CMediaSample::SetActualDataLength(LONG length) {
    if (length < 0 || length > size_) return VFW_E_BUFFER_OVERFLOW;
    actual_ = length;
    return S_OK;
}

HRESULT CMediaSample::GetMediaType(AM_MEDIA_TYPE** type) {
    if (!type) return E_POINTER;
    if (!type_) {
        *type = nullptr;
        return S_FALSE;
    }
    *type = CreateMediaType(type_);
    return *type ? S_OK : E_OUTOFMEMORY;
}

HRESULT CMediaSample::SetMediaType(AM_MEDIA_TYPE* type) {
    DeleteMediaType(type_);
    type_ = nullptr;
    if (!type) return S_OK;
    type_ = CreateMediaType(type);
    return type_ ? S_OK : E_OUTOFMEMORY;
}

HRESULT CMediaSample::SetDiscontinuity(BOOL discontinuity) {
    discontinuity_ = discontinuity != FALSE;
    return S_OK;
}

HRESULT CMediaSample::GetMediaTime(LONGLONG* start, LONGLONG* stop) {
    if (!start || !stop) return E_POINTER;
    if (!hasMediaTime_) return VFW_E_MEDIA_TIME_NOT_SET;
    *start = mediaStart_;
    *stop = mediaStop_;
    return S_OK;
}

HRESULT CMediaSample::SetMediaTime(LONGLONG* start, LONGLONG* stop) {
    if (!start) {
        hasMediaTime_ = false;
        return S_OK;
    }
    mediaStart_ = *start;
    mediaStop_ = stop ? *stop : *start + 1;
    hasMediaTime_ = true;
    return S_OK;
}

void CMediaSample::ResetForReuse() {
    actual_ = 0;
    hasTime_ = hasMediaTime_ = false;
    syncPoint_ = preroll_ = discontinuity_ = false;
    DeleteMediaType(type_);
    type_ = nullptr;
}

void CMediaSample::SetBuffer(BYTE* buffer, LONG size) {
    buffer_ = buffer;
    size_ = size;
}
