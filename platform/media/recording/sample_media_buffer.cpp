#include "platform/media/recording/sample_media_buffer.h"

HRESULT CSampleMediaBuffer::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IMediaBuffer) {
        *ppv = static_cast<IMediaBuffer*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT CSampleMediaBuffer::SetLength(DWORD length) {
    if (length > static_cast<DWORD>(m_sample->GetSize())) return E_INVALIDARG;
    return m_sample->SetActualDataLength(static_cast<LONG>(length));
}

HRESULT CSampleMediaBuffer::GetMaxLength(DWORD* maxLength) {
    if (!maxLength) return E_POINTER;
    *maxLength = static_cast<DWORD>(m_sample->GetSize());
    return S_OK;
}

HRESULT CSampleMediaBuffer::GetBufferAndLength(BYTE** buffer, DWORD* length) {
    if (buffer) {
        const HRESULT hr = m_sample->GetPointer(buffer);
        if (FAILED(hr)) return hr;
    }
    if (length) *length = static_cast<DWORD>(m_sample->GetActualDataLength());
    return S_OK;
}
