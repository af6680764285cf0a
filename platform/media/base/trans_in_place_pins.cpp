#include "platform/media/base/trans_in_place_pins.h"

#include "platform/media/base/trans_in_place_filter.h"
#include "platform/media/interfaces/media_errors.h"

CTransInPlaceInputPin::CTransInPlaceInputPin(const char* objectName, CTransInPlaceFilter* filter,
                                             HRESULT* hr, LPCWSTR name)
    : CTransformInputPin(objectName, filter, hr, name), m_pTIPFilter(filter) {}

HRESULT CTransInPlaceInputPin::GetAllocator(IMemAllocator** allocator) {
    if (!allocator) return E_POINTER;
    CAutoLock lock(m_pLock);
    CTransformOutputPin* output = m_pTIPFilter->OutputPin();
    if (output->IsConnected() && output->InputPin()) {
        const HRESULT hr = output->InputPin()->GetAllocator(allocator);
        if (SUCCEEDED(hr)) {
            output->SetAllocator(*allocator);
            return hr;
        }
    }
    return CTransformInputPin::GetAllocator(allocator);
}

HRESULT CTransInPlaceInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) {
    if (!allocator) return E_POINTER;
    CAutoLock lock(m_pLock);
    const HRESULT hr = CTransformInputPin::NotifyAllocator(allocator, readOnly);
    if (FAILED(hr)) return hr;
    CTransformOutputPin* output = m_pTIPFilter->OutputPin();
    if (output->IsConnected() && output->InputPin() && output->Allocator() != allocator &&
        SUCCEEDED(output->InputPin()->NotifyAllocator(allocator, readOnly))) {
        output->SetAllocator(allocator);
    }
    return S_OK;
}

HRESULT CTransInPlaceInputPin::CheckMediaType(const CMediaType* type) {
    HRESULT hr = m_pTIPFilter->CheckInputType(type);
    if (hr != S_OK) return hr;
    CTransformOutputPin* output = m_pTIPFilter->OutputPin();
    if (output->IsConnected() && output->GetConnected()->QueryAccept(type) != S_OK)
        return VFW_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

HRESULT CTransInPlaceInputPin::GetMediaType(int position, CMediaType* type) {
    if (position < 0) return E_INVALIDARG;
    CTransformOutputPin* output = m_pTIPFilter->OutputPin();
    if (position > 0 || !output->IsConnected()) return VFW_S_NO_MORE_ITEMS;
    return type->Set(output->CurrentMediaType());
}

CTransInPlaceOutputPin::CTransInPlaceOutputPin(const char* objectName, CTransInPlaceFilter* filter,
                                               HRESULT* hr, LPCWSTR name)
    : CTransformOutputPin(objectName, filter, hr, name), m_pTIPFilter(filter) {}

HRESULT CTransInPlaceOutputPin::CheckMediaType(const CMediaType* type) {
    CTransformInputPin* input = m_pTIPFilter->InputPin();
    if (!input->IsConnected()) return VFW_E_NOT_CONNECTED;
    if (m_pTIPFilter->CheckInputType(type) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
    return *type == input->CurrentMediaType() ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CTransInPlaceOutputPin::GetMediaType(int position, CMediaType* type) {
    if (position < 0) return E_INVALIDARG;
    CTransformInputPin* input = m_pTIPFilter->InputPin();
    if (position > 0 || !input->IsConnected()) return VFW_S_NO_MORE_ITEMS;
    return type->Set(input->CurrentMediaType());
}

HRESULT CTransInPlaceOutputPin::DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator) {
    if (!pin || !allocator) return E_POINTER;
    *allocator = nullptr;
    CTransformInputPin* input = m_pTIPFilter->InputPin();
    if (IMemAllocator* shared = input->PeekAllocator()) {
        if (SUCCEEDED(pin->NotifyAllocator(shared, input->IsReadOnly()))) {
            *allocator = shared;
            shared->AddRef();
            return S_OK;
        }
    }
    return CTransformOutputPin::DecideAllocator(pin, allocator);
}
