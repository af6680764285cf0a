#include "platform/media/base/trans_in_place_filter.h"

#include <algorithm>
#include <cstring>

#include "platform/media/interfaces/media_errors.h"

CTransInPlaceFilter::CTransInPlaceFilter(const char* objectName, IUnknown* outer, REFCLSID clsid,
                                         HRESULT* hr, bool modifiesData)
    : CTransformFilter(objectName, outer, clsid, hr), m_bModifiesData(modifiesData) {}

CTransInPlaceFilter::~CTransInPlaceFilter() = default;

HRESULT CTransInPlaceFilter::CreatePins() {
    HRESULT hr = S_OK;
    m_pInput = std::make_unique<CTransInPlaceInputPin>("input", this, &hr, u"Input");
    m_pOutput = std::make_unique<CTransInPlaceOutputPin>("output", this, &hr, u"Output");
    return hr;
}

HRESULT CTransInPlaceFilter::CheckTransform(const CMediaType*, const CMediaType*) {
    return S_OK;
}

HRESULT CTransInPlaceFilter::GetMediaType(int, CMediaType*) {
    return E_UNEXPECTED;
}

HRESULT CTransInPlaceFilter::Transform(IMediaSample*, IMediaSample*) {
    return E_UNEXPECTED;
}

HRESULT CTransInPlaceFilter::DecideBufferSize(IMemAllocator* allocator,
                                              ALLOCATOR_PROPERTIES* request) {
    if (!allocator || !request) return E_POINTER;
    ALLOCATOR_PROPERTIES wanted = *request;
    if (IMemAllocator* upstream = m_pInput ? m_pInput->PeekAllocator() : nullptr) {
        ALLOCATOR_PROPERTIES input{};
        if (SUCCEEDED(upstream->GetProperties(&input))) {
            wanted.cBuffers = std::max(wanted.cBuffers, input.cBuffers);
            wanted.cbBuffer = std::max(wanted.cbBuffer, input.cbBuffer);
        }
    }
    if (wanted.cbBuffer <= 0 && m_pInput) {
        wanted.cbBuffer = static_cast<LONG>(m_pInput->CurrentMediaType().GetSampleSize());
    }
    wanted.cBuffers = std::max<LONG>(wanted.cBuffers, 1);
    wanted.cbAlign = std::max<LONG>(wanted.cbAlign, 1);
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = allocator->SetProperties(&wanted, &actual);
    if (FAILED(hr)) return hr;
    return actual.cbBuffer < wanted.cbBuffer ? E_FAIL : S_OK;
}

bool CTransInPlaceFilter::UsingDifferentAllocators() const {
    return m_pInput->PeekAllocator() != m_pOutput->Allocator();
}

HRESULT CTransInPlaceFilter::Copy(IMediaSample* source, IMediaSample** copy) {
    ComPtr<IMediaSample> target;
    HRESULT hr = InitializeOutputSample(source, target.ReleaseAndGetAddressOf());
    if (FAILED(hr)) return hr;
    BYTE* from = nullptr;
    BYTE* to = nullptr;
    source->GetPointer(&from);
    target->GetPointer(&to);
    const LONG length = std::min(source->GetActualDataLength(), target->GetSize());
    if (length > 0) std::memcpy(to, from, static_cast<std::size_t>(length));
    target->SetActualDataLength(length);
    AM_MEDIA_TYPE* type = nullptr;
    if (source->GetMediaType(&type) == S_OK) {
        target->SetMediaType(type);
        DeleteMediaType(type);
    }
    *copy = target.Detach();
    return S_OK;
}

HRESULT CTransInPlaceFilter::Receive(IMediaSample* sample) {
    if (!m_pOutput->IsConnected()) return S_OK;  // nowhere to go: dropped
    ComPtr<IMediaSample> work = ComPtr<IMediaSample>::Retain(sample);
    if (UsingDifferentAllocators() || (m_bModifiesData && m_pInput->IsReadOnly())) {
        const HRESULT hr = Copy(sample, work.ReleaseAndGetAddressOf());
        if (FAILED(hr)) return hr;
    }
    const HRESULT hr = Transform(work.Get());
    if (hr == S_OK) return m_pOutput->Deliver(work.Get());
    return hr == S_FALSE ? S_OK : hr;
}
