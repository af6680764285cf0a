#include "platform/media/recording/avi_mux_pins.h"

#include "platform/media/interfaces/media_errors.h"
#include "platform/media/interfaces/recording_clsids.h"
#include "platform/media/recording/avi_mux.h"

namespace {

bool IsFmp4Video(const CMediaType& type) {
    return type.majortype == MEDIATYPE_Video && type.subtype == MEDIASUBTYPE_FMP4 &&
           type.formattype == FORMAT_VideoInfo && type.cbFormat >= sizeof(VIDEOINFOHEADER) &&
           type.pbFormat;
}

bool IsPcm16Audio(const CMediaType& type) {
    if (type.majortype != MEDIATYPE_Audio || type.subtype != MEDIASUBTYPE_PCM ||
        type.formattype != FORMAT_WaveFormatEx || type.cbFormat < sizeof(WAVEFORMATEX) - 2 ||
        !type.pbFormat)
        return false;
    const auto* wave = reinterpret_cast<const WAVEFORMATEX*>(type.pbFormat);
    return wave->wBitsPerSample == 16 && wave->nChannels >= 1 && wave->nSamplesPerSec > 0 &&
           wave->nBlockAlign == wave->nChannels * 2;
}

}  // namespace

CAviMuxInputPin::CAviMuxInputPin(CAviMux* mux, CCritSec* lock, int index, LPCWSTR name)
    : CBaseInputPin("AVI Mux Input", mux, lock, nullptr, name), m_mux(mux), m_index(index) {}

HRESULT CAviMuxInputPin::CheckMediaType(const CMediaType* type) {
    return IsFmp4Video(*type) || IsPcm16Audio(*type) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CAviMuxInputPin::Receive(IMediaSample* sample) {
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK) return hr;
    return m_mux->WriteSample(m_index, sample);
}

CAviMuxOutputPin::CAviMuxOutputPin(CAviMux* mux, CCritSec* lock)
    : CBasePin("AVI Mux Output", mux, lock, nullptr, u"AVI Out", PINDIR_OUTPUT) {}

HRESULT CAviMuxOutputPin::CheckMediaType(const CMediaType* type) {
    return type->majortype == MEDIATYPE_Stream &&
                   (type->subtype == MEDIASUBTYPE_Avi || type->subtype == GUID_NULL)
               ? S_OK
               : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CAviMuxOutputPin::GetMediaType(int position, CMediaType* type) {
    if (position < 0) return E_INVALIDARG;
    if (position > 0) return VFW_S_NO_MORE_ITEMS;
    *type = CMediaType(MEDIATYPE_Stream);
    type->SetSubtype(&MEDIASUBTYPE_Avi);
    type->SetVariableSize();
    return S_OK;
}

HRESULT CAviMuxOutputPin::CheckConnect(IPin* pin) {
    HRESULT hr = CBasePin::CheckConnect(pin);
    if (FAILED(hr)) return hr;
    ComPtr<IFileWriterStream> stream;
    hr = pin->QueryInterface(IID_IFileWriterStream,
                             reinterpret_cast<void**>(stream.ReleaseAndGetAddressOf()));
    if (FAILED(hr)) return E_NOINTERFACE;
    m_stream = std::move(stream);
    return S_OK;
}

HRESULT CAviMuxOutputPin::BreakConnect() {
    m_stream.Reset();
    return CBasePin::BreakConnect();
}
