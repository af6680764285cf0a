#include "platform/media/recording/dmo_wrapper_filter.h"

#include <algorithm>

#include "platform/com/runtime.h"
#include "platform/media/interfaces/iencoder_quality.h"
#include "platform/media/interfaces/media_errors.h"
#include "platform/media/interfaces/recording_clsids.h"
#include "platform/media/recording/sample_media_buffer.h"

CUnknown* CDmoWrapperFilter::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* filter = new (std::nothrow) CDmoWrapperFilter(outer);
    if (!filter && hr) *hr = E_OUTOFMEMORY;
    return filter;
}

CDmoWrapperFilter::CDmoWrapperFilter(IUnknown* outer)
    : CTransformFilter("DMO Wrapper Filter", outer, CLSID_DMOWrapperFilter) {}

CDmoWrapperFilter::~CDmoWrapperFilter() {
    if (m_dmo) m_dmo->FreeStreamingResources();
    m_dmo = nullptr;
}

HRESULT CDmoWrapperFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IDMOWrapperFilter)
        return GetInterface(static_cast<IDMOWrapperFilter*>(this), ppv);
    if ((riid == IID_IMediaObject || riid == IID_IEncoderQuality) && m_inner)
        return m_inner->QueryInterface(riid, ppv);
    return CTransformFilter::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CDmoWrapperFilter::Init(REFCLSID dmo, REFCLSID category) {
    CAutoLock lock(&m_csFilter);
    if (m_inner) return VFW_E_WRONG_STATE;
    if (category != DMOCATEGORY_VIDEO_ENCODER && category != DMOCATEGORY_AUDIO_ENCODER)
        return E_INVALIDARG;
    ComPtr<IUnknown> inner;
    HRESULT hr = CoCreateInstance(dmo, GetOwner(), CLSCTX_INPROC_SERVER, IID_IUnknown,
                                  reinterpret_cast<void**>(inner.ReleaseAndGetAddressOf()));
    if (FAILED(hr)) return hr;
    IMediaObject* object = nullptr;
    hr = inner->QueryInterface(IID_IMediaObject, reinterpret_cast<void**>(&object));
    if (FAILED(hr)) return hr;
    // The reference went to the outer object (us); keep the pointer uncounted, as aggregation
    // requires, so that the filter does not hold itself alive.
    object->Release();
    DWORD inputs = 0, outputs = 0;
    hr = object->GetStreamCount(&inputs, &outputs);
    if (FAILED(hr)) return hr;
    if (inputs != 1 || outputs != 1) return E_NOTIMPL;
    m_inner = std::move(inner);
    m_dmo = object;
    return S_OK;
}

int CDmoWrapperFilter::GetPinCount() {
    return m_dmo ? 2 : 0;
}

CBasePin* CDmoWrapperFilter::GetPin(int n) {
    if (!m_dmo) return nullptr;
    return CTransformFilter::GetPin(n);
}

HRESULT CDmoWrapperFilter::CheckInputType(const CMediaType* type) {
    if (!m_dmo) return E_UNEXPECTED;
    return SUCCEEDED(m_dmo->SetInputType(0, type, DMO_SET_TYPEF_TEST_ONLY))
               ? S_OK
               : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CDmoWrapperFilter::CheckTransform(const CMediaType*, const CMediaType* output) {
    if (!m_dmo) return E_UNEXPECTED;
    return SUCCEEDED(m_dmo->SetOutputType(0, output, DMO_SET_TYPEF_TEST_ONLY))
               ? S_OK
               : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CDmoWrapperFilter::GetMediaType(int position, CMediaType* type) {
    if (!m_dmo) return E_UNEXPECTED;
    if (position < 0) return E_INVALIDARG;
    AM_MEDIA_TYPE mt{};
    const HRESULT hr = m_dmo->GetOutputType(0, static_cast<DWORD>(position), &mt);
    if (hr == DMO_E_NO_MORE_ITEMS) return VFW_S_NO_MORE_ITEMS;
    if (FAILED(hr)) return hr;
    *type = mt;
    FreeMediaType(mt);
    return S_OK;
}

HRESULT CDmoWrapperFilter::DecideBufferSize(IMemAllocator* allocator,
                                            ALLOCATOR_PROPERTIES* request) {
    DWORD size = 0, alignment = 1;
    HRESULT hr = m_dmo->GetOutputSizeInfo(0, &size, &alignment);
    if (FAILED(hr)) return hr;
    ALLOCATOR_PROPERTIES wanted = *request;
    wanted.cBuffers = std::max<LONG>(wanted.cBuffers, 4);
    wanted.cbBuffer = std::max<LONG>(wanted.cbBuffer, static_cast<LONG>(size));
    wanted.cbAlign = std::max<LONG>(wanted.cbAlign, static_cast<LONG>(alignment));
    ALLOCATOR_PROPERTIES actual{};
    hr = allocator->SetProperties(&wanted, &actual);
    if (FAILED(hr)) return hr;
    return actual.cbBuffer < wanted.cbBuffer ? E_FAIL : S_OK;
}

HRESULT CDmoWrapperFilter::SetMediaType(PIN_DIRECTION direction, const CMediaType* type) {
    if (direction == PINDIR_INPUT) return m_dmo->SetInputType(0, type, 0);
    return m_dmo->SetOutputType(0, type, 0);
}

HRESULT CDmoWrapperFilter::BreakConnect(PIN_DIRECTION direction) {
    if (!m_dmo) return S_OK;
    if (direction == PINDIR_INPUT) return m_dmo->SetInputType(0, nullptr, DMO_SET_TYPEF_CLEAR);
    return m_dmo->SetOutputType(0, nullptr, DMO_SET_TYPEF_CLEAR);
}

HRESULT CDmoWrapperFilter::StartStreaming() {
    return m_dmo->AllocateStreamingResources();
}

HRESULT CDmoWrapperFilter::StopStreaming() {
    m_dmo->Flush();
    return m_dmo->FreeStreamingResources();
}

HRESULT CDmoWrapperFilter::Receive(IMediaSample* sample) {
    REFERENCE_TIME start = 0, stop = 0;
    DWORD flags = 0;
    if (SUCCEEDED(sample->GetTime(&start, &stop))) flags |= DMO_INPUT_DATA_BUFFERF_TIME;
    if (sample->IsSyncPoint() == S_OK) flags |= DMO_INPUT_DATA_BUFFERF_SYNCPOINT;
    CSampleMediaBuffer input(sample);
    HRESULT hr = m_dmo->ProcessInput(0, &input, flags, start, 0);
    if (hr == DMO_E_NOTACCEPTING) {
        // Output left from before: hand it out, then try again.
        hr = DeliverOutput();
        if (FAILED(hr)) return hr;
        hr = m_dmo->ProcessInput(0, &input, flags, start, 0);
    }
    if (FAILED(hr)) return hr;
    return DeliverOutput();
}

HRESULT CDmoWrapperFilter::DeliverOutput() {
    for (;;) {
        ComPtr<IMediaSample> out;
        HRESULT hr =
            m_pOutput->GetDeliveryBuffer(out.ReleaseAndGetAddressOf(), nullptr, nullptr, 0);
        if (FAILED(hr)) return hr;
        out->SetActualDataLength(0);
        CSampleMediaBuffer buffer(out.Get());
        DMO_OUTPUT_DATA_BUFFER data{&buffer, 0, 0, 0};
        DWORD status = 0;
        hr = m_dmo->ProcessOutput(0, 1, &data, &status);
        if (FAILED(hr)) return hr;
        if (hr == S_FALSE || out->GetActualDataLength() == 0) return S_OK;
        if (data.dwStatus & DMO_OUTPUT_DATA_BUFFERF_TIME) {
            REFERENCE_TIME start = data.rtTimestamp;
            REFERENCE_TIME stop =
                start +
                ((data.dwStatus & DMO_OUTPUT_DATA_BUFFERF_TIMELENGTH) ? data.rtTimelength : 1);
            out->SetTime(&start, &stop);
        }
        out->SetSyncPoint((data.dwStatus & DMO_OUTPUT_DATA_BUFFERF_SYNCPOINT) != 0);
        hr = m_pOutput->Deliver(out.Get());
        if (hr != S_OK) return hr;
        if (!(data.dwStatus & DMO_OUTPUT_DATA_BUFFERF_INCOMPLETE)) return S_OK;
    }
}

HRESULT CDmoWrapperFilter::EndOfStream() {
    // The input pin holds the receive lock.
    if (m_dmo && !IsStopped()) {
        m_dmo->Discontinuity(0);
        DeliverOutput();
    }
    return CTransformFilter::EndOfStream();
}
