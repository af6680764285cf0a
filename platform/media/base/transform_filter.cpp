#include "platform/media/base/transform_filter.h"

#include "platform/media/interfaces/media_errors.h"

CTransformFilter::CTransformFilter(const char* objectName, IUnknown* outer, REFCLSID clsid,
                                   HRESULT* hr)
    : CBaseFilter(objectName, outer, &m_csFilter, clsid, hr) {}

CTransformFilter::~CTransformFilter() = default;

HRESULT CTransformFilter::CreatePins() {
    HRESULT hr = S_OK;
    m_pInput = std::make_unique<CTransformInputPin>("input", this, &hr, u"XForm In");
    m_pOutput = std::make_unique<CTransformOutputPin>("output", this, &hr, u"XForm Out");
    return hr;
}

CBasePin* CTransformFilter::GetPin(int n) {
    CAutoLock lock(&m_csFilter);
    if (!m_pInput && FAILED(CreatePins())) {
        m_pInput.reset();
        m_pOutput.reset();
    }
    if (n == 0) return m_pInput.get();
    if (n == 1) return m_pOutput.get();
    return nullptr;
}

HRESULT CTransformFilter::Stop() {
    CAutoLock lock(&m_csFilter);
    if (m_State == State_Stopped) return S_OK;
    const bool streaming = m_pInput && m_pInput->IsConnected() && m_pOutput->IsConnected();
    // From here on a new sample is refused; the one in progress finishes under the receive lock.
    m_State = State_Stopped;
    if (m_pInput && m_pInput->IsConnected()) m_pInput->Inactive();
    CAutoLock receive(&m_csReceive);
    m_bEOSDelivered = false;
    if (m_pOutput && m_pOutput->IsConnected()) m_pOutput->Inactive();
    return streaming ? StopStreaming() : S_OK;
}

HRESULT CTransformFilter::Pause() {
    CAutoLock lock(&m_csFilter);
    bool started = false;
    if (m_State == State_Stopped && m_pInput && m_pInput->IsConnected() &&
        m_pOutput->IsConnected()) {
        CAutoLock receive(&m_csReceive);
        const HRESULT hr = StartStreaming();
        if (FAILED(hr)) return hr;
        started = true;
    }
    const HRESULT hr = CBaseFilter::Pause();
    if (FAILED(hr) && started) {
        CAutoLock receive(&m_csReceive);
        StopStreaming();
    }
    return hr;
}

HRESULT CTransformFilter::SetMediaType(PIN_DIRECTION, const CMediaType*) {
    return S_OK;
}
HRESULT CTransformFilter::CheckConnect(PIN_DIRECTION, IPin*) {
    return S_OK;
}
HRESULT CTransformFilter::CompleteConnect(PIN_DIRECTION, IPin*) {
    return S_OK;
}
HRESULT CTransformFilter::BreakConnect(PIN_DIRECTION) {
    return S_OK;
}
HRESULT CTransformFilter::StartStreaming() {
    return S_OK;
}
HRESULT CTransformFilter::StopStreaming() {
    return S_OK;
}
HRESULT CTransformFilter::Transform(IMediaSample*, IMediaSample*) {
    return E_UNEXPECTED;
}

HRESULT CTransformFilter::InitializeOutputSample(IMediaSample* input, IMediaSample** output) {
    ComPtr<IMediaSample> sample;
    const HRESULT hr =
        m_pOutput->GetDeliveryBuffer(sample.ReleaseAndGetAddressOf(), nullptr, nullptr, 0);
    if (FAILED(hr)) return hr;
    REFERENCE_TIME start = 0, stop = 0;
    if (input->GetTime(&start, &stop) == S_OK) sample->SetTime(&start, &stop);
    LONGLONG mediaStart = 0, mediaStop = 0;
    if (input->GetMediaTime(&mediaStart, &mediaStop) == S_OK)
        sample->SetMediaTime(&mediaStart, &mediaStop);
    sample->SetSyncPoint(input->IsSyncPoint() == S_OK);
    sample->SetPreroll(input->IsPreroll() == S_OK);
    sample->SetDiscontinuity(input->IsDiscontinuity() == S_OK);
    *output = sample.Detach();
    return S_OK;
}

HRESULT CTransformFilter::Receive(IMediaSample* sample) {
    if (!m_pOutput->IsConnected()) return S_OK;  // nowhere to go: dropped
    ComPtr<IMediaSample> output;
    HRESULT hr = InitializeOutputSample(sample, output.ReleaseAndGetAddressOf());
    if (FAILED(hr)) return hr;
    hr = Transform(sample, output.Get());
    if (hr == S_OK) return m_pOutput->Deliver(output.Get());
    return hr == S_FALSE ? S_OK : hr;
}

HRESULT CTransformFilter::EndOfStream() {
    if (!m_pOutput->IsConnected()) return S_OK;
    m_bEOSDelivered = true;
    return m_pOutput->DeliverEndOfStream();
}

HRESULT CTransformFilter::BeginFlush() {
    return m_pOutput->IsConnected() ? m_pOutput->DeliverBeginFlush() : S_OK;
}

HRESULT CTransformFilter::EndFlush() {
    return m_pOutput->IsConnected() ? m_pOutput->DeliverEndFlush() : S_OK;
}

HRESULT CTransformFilter::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    return m_pOutput->IsConnected() ? m_pOutput->DeliverNewSegment(start, stop, rate) : S_OK;
}
