#include "platform/media/base/transform_pins.h"

#include "platform/media/base/transform_filter.h"
#include "platform/media/interfaces/media_errors.h"

CTransformInputPin::CTransformInputPin(const char* objectName, CTransformFilter* filter,
                                       HRESULT* hr, LPCWSTR name)
    : CBaseInputPin(objectName, filter, filter->FilterLock(), hr, name),
      m_pTransformFilter(filter) {}

HRESULT CTransformInputPin::CheckMediaType(const CMediaType* type) {
    const HRESULT hr = m_pTransformFilter->CheckInputType(type);
    if (hr != S_OK) return hr;
    CTransformOutputPin* output = m_pTransformFilter->OutputPin();
    if (output && output->IsConnected()) {
        const CMediaType agreed = output->CurrentMediaType();
        return m_pTransformFilter->CheckTransform(type, &agreed);
    }
    return S_OK;
}

HRESULT CTransformInputPin::SetMediaType(const CMediaType* type) {
    const HRESULT hr = CBaseInputPin::SetMediaType(type);
    if (FAILED(hr)) return hr;
    return m_pTransformFilter->SetMediaType(PINDIR_INPUT, type);
}

HRESULT CTransformInputPin::CheckConnect(IPin* pin) {
    const HRESULT hr = m_pTransformFilter->CheckConnect(PINDIR_INPUT, pin);
    if (FAILED(hr)) return hr;
    return CBaseInputPin::CheckConnect(pin);
}

HRESULT CTransformInputPin::CompleteConnect(IPin* receivePin) {
    const HRESULT hr = m_pTransformFilter->CompleteConnect(PINDIR_INPUT, receivePin);
    if (FAILED(hr)) return hr;
    return CBaseInputPin::CompleteConnect(receivePin);
}

HRESULT CTransformInputPin::BreakConnect() {
    m_pTransformFilter->BreakConnect(PINDIR_INPUT);
    return CBaseInputPin::BreakConnect();
}

HRESULT CTransformInputPin::Receive(IMediaSample* sample) {
    CAutoLock receive(m_pTransformFilter->ReceiveLock());
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK) return hr;
    return m_pTransformFilter->Receive(sample);
}

HRESULT CTransformInputPin::EndOfStream() {
    CAutoLock receive(m_pTransformFilter->ReceiveLock());
    const HRESULT hr = CheckStreaming();
    if (hr != S_OK) return hr;
    return m_pTransformFilter->EndOfStream();
}

HRESULT CTransformInputPin::BeginFlush() {
    CBaseInputPin::BeginFlush();
    return m_pTransformFilter->BeginFlush();
}

HRESULT CTransformInputPin::EndFlush() {
    CBaseInputPin::EndFlush();
    return m_pTransformFilter->EndFlush();
}

HRESULT CTransformInputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    CBasePin::NewSegment(start, stop, rate);
    return m_pTransformFilter->NewSegment(start, stop, rate);
}

HRESULT CTransformInputPin::ReceiveCanBlock() {
    CTransformOutputPin* output = m_pTransformFilter->OutputPin();
    if (!output || !output->InputPin()) return S_FALSE;
    return output->InputPin()->ReceiveCanBlock();
}

CTransformOutputPin::CTransformOutputPin(const char* objectName, CTransformFilter* filter,
                                         HRESULT* hr, LPCWSTR name)
    : CBaseOutputPin(objectName, filter, filter->FilterLock(), hr, name),
      m_pTransformFilter(filter) {}

HRESULT CTransformOutputPin::CheckConnect(IPin* pin) {
    CTransformInputPin* input = m_pTransformFilter->InputPin();
    if (!input || !input->IsConnected()) return VFW_E_NOT_CONNECTED;
    const HRESULT hr = m_pTransformFilter->CheckConnect(PINDIR_OUTPUT, pin);
    if (FAILED(hr)) return hr;
    return CBaseOutputPin::CheckConnect(pin);
}

HRESULT CTransformOutputPin::CheckMediaType(const CMediaType* type) {
    CTransformInputPin* input = m_pTransformFilter->InputPin();
    if (!input || !input->IsConnected()) return VFW_E_NOT_CONNECTED;
    const CMediaType agreed = input->CurrentMediaType();
    return m_pTransformFilter->CheckTransform(&agreed, type);
}

HRESULT CTransformOutputPin::GetMediaType(int position, CMediaType* type) {
    if (position < 0) return E_INVALIDARG;
    CTransformInputPin* input = m_pTransformFilter->InputPin();
    if (!input || !input->IsConnected()) return VFW_S_NO_MORE_ITEMS;
    return m_pTransformFilter->GetMediaType(position, type);
}

HRESULT CTransformOutputPin::SetMediaType(const CMediaType* type) {
    const HRESULT hr = CBaseOutputPin::SetMediaType(type);
    if (FAILED(hr)) return hr;
    return m_pTransformFilter->SetMediaType(PINDIR_OUTPUT, type);
}

HRESULT CTransformOutputPin::CompleteConnect(IPin* receivePin) {
    const HRESULT hr = CBaseOutputPin::CompleteConnect(receivePin);
    if (FAILED(hr)) return hr;
    return m_pTransformFilter->CompleteConnect(PINDIR_OUTPUT, receivePin);
}

HRESULT CTransformOutputPin::BreakConnect() {
    m_pTransformFilter->BreakConnect(PINDIR_OUTPUT);
    return CBaseOutputPin::BreakConnect();
}

HRESULT CTransformOutputPin::DecideBufferSize(IMemAllocator* allocator,
                                              ALLOCATOR_PROPERTIES* request) {
    return m_pTransformFilter->DecideBufferSize(allocator, request);
}

void CTransformOutputPin::SetAllocator(IMemAllocator* allocator) {
    m_pAllocator = ComPtr<IMemAllocator>::Retain(allocator);
}
