#include "platform/media/base/base_output_pin.h"

#include "platform/media/base/mem_allocator.h"
#include "platform/media/interfaces/media_errors.h"

CBaseOutputPin::CBaseOutputPin(const char* objectName, CBaseFilter* filter, CCritSec* lock,
                               HRESULT* hr, LPCWSTR name)
    : CBasePin(objectName, filter, lock, hr, name, PINDIR_OUTPUT) {}

HRESULT CBaseOutputPin::CompleteConnect(IPin* /*receivePin*/) {
    return DecideAllocator(m_pInputPin.Get(), m_pAllocator.ReleaseAndGetAddressOf());
}

HRESULT CBaseOutputPin::CheckConnect(IPin* pin) {
    const HRESULT hr = CBasePin::CheckConnect(pin);
    if (FAILED(hr)) return hr;
    return pin->QueryInterface(IID_IMemInputPin, m_pInputPin.ReleaseAndGetVoidAddressOf());
}

HRESULT CBaseOutputPin::BreakConnect() {
    if (m_pAllocator) {
        m_pAllocator->Decommit();
        m_pAllocator = nullptr;
    }
    m_pInputPin = nullptr;
    return S_OK;
}

HRESULT CBaseOutputPin::Active() {
    if (!m_pAllocator) return VFW_E_NO_ALLOCATOR;
    return m_pAllocator->Commit();
}

HRESULT CBaseOutputPin::Inactive() {
    if (!m_pAllocator) return VFW_E_NO_ALLOCATOR;
    return m_pAllocator->Decommit();
}

HRESULT CBaseOutputPin::EndOfStream() {
    return E_UNEXPECTED;
}
HRESULT CBaseOutputPin::BeginFlush() {
    return E_UNEXPECTED;
}
HRESULT CBaseOutputPin::EndFlush() {
    return E_UNEXPECTED;
}

HRESULT CBaseOutputPin::DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator) {
    if (!pin || !allocator) return E_POINTER;
    *allocator = nullptr;
    ALLOCATOR_PROPERTIES request{};
    pin->GetAllocatorRequirements(&request);
    if (request.cbAlign == 0) request.cbAlign = 1;

    ComPtr<IMemAllocator> candidate;
    HRESULT hr = pin->GetAllocator(candidate.ReleaseAndGetAddressOf());
    if (SUCCEEDED(hr) && candidate) {
        ALLOCATOR_PROPERTIES props = request;
        hr = DecideBufferSize(candidate.Get(), &props);
        if (SUCCEEDED(hr)) hr = pin->NotifyAllocator(candidate.Get(), FALSE);
        if (SUCCEEDED(hr)) {
            *allocator = candidate.Detach();
            return S_OK;
        }
    }
    hr = InitAllocator(candidate.ReleaseAndGetAddressOf());
    if (FAILED(hr)) return hr;
    ALLOCATOR_PROPERTIES props = request;
    hr = DecideBufferSize(candidate.Get(), &props);
    if (SUCCEEDED(hr)) hr = pin->NotifyAllocator(candidate.Get(), FALSE);
    if (FAILED(hr)) return hr;
    *allocator = candidate.Detach();
    return S_OK;
}

HRESULT CBaseOutputPin::InitAllocator(IMemAllocator** allocator) {
    return CMemAllocator::Create(allocator);
}

HRESULT CBaseOutputPin::GetDeliveryBuffer(IMediaSample** sample, REFERENCE_TIME* start,
                                          REFERENCE_TIME* stop, DWORD flags) {
    if (!m_pAllocator) return VFW_E_NO_ALLOCATOR;
    return m_pAllocator->GetBuffer(sample, start, stop, flags);
}

HRESULT CBaseOutputPin::Deliver(IMediaSample* sample) {
    if (!m_pInputPin) return VFW_E_NOT_CONNECTED;
    return m_pInputPin->Receive(sample);
}

HRESULT CBaseOutputPin::DeliverEndOfStream() {
    if (!m_Connected) return VFW_E_NOT_CONNECTED;
    return m_Connected->EndOfStream();
}

HRESULT CBaseOutputPin::DeliverBeginFlush() {
    if (!m_Connected) return VFW_E_NOT_CONNECTED;
    return m_Connected->BeginFlush();
}

HRESULT CBaseOutputPin::DeliverEndFlush() {
    if (!m_Connected) return VFW_E_NOT_CONNECTED;
    return m_Connected->EndFlush();
}

HRESULT CBaseOutputPin::DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    if (!m_Connected) return VFW_E_NOT_CONNECTED;
    return m_Connected->NewSegment(start, stop, rate);
}
