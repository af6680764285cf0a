#include "platform/media/renderers/audio_renderer.h"

#include <chrono>
#include <cstdint>
#include <new>
#include <span>

#include "platform/media/base/audio_format.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/renderers/volume.h"

CUnknown* CAudioRenderer::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* renderer = new (std::nothrow) CAudioRenderer(outer);
    if (!renderer && hr) *hr = E_OUTOFMEMORY;
    return renderer;
}

CAudioRenderer::CAudioRenderer(IUnknown* outer)
    : CBaseFilter("audio renderer", outer, &lock_, CLSID_DSoundRender),
      pin_(std::make_unique<CAudioRendererPin>(this)) {}

CAudioRenderer::~CAudioRenderer() = default;

HRESULT CAudioRenderer::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IBasicAudio || riid == IID_IDispatch)
        return GetInterface(static_cast<IBasicAudio*>(this), ppv);
    return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

CBasePin* CAudioRenderer::GetPin(int n) {
    return n == 0 ? pin_.get() : nullptr;
}

HRESULT CAudioRenderer::Pause() {
    CAutoLock lock(&lock_);
    const CMediaType type = pin_->CurrentMediaType();
    if (m_State == State_Stopped && pin_->IsConnected() && media::IsPlayablePcm(type)) {
        const WAVEFORMATEX& format = media::WaveFormatOf(type);
        CAutoLock receive(&receiveLock_);
        channels_ = format.nChannels;
        std::unique_ptr<sound::PcmOutput> output = sound::OpenAlsaOutput();
        const sound::PcmFormat pcm{format.nSamplesPerSec, format.nChannels, 16};
        if (output && output->Open(pcm)) output_ = std::move(output);
        playing_ = output_ != nullptr;
    }
    return CBaseFilter::Pause();
}

HRESULT CAudioRenderer::Stop() {
    CAutoLock lock(&lock_);
    const HRESULT hr = CBaseFilter::Stop();
    CAutoLock receive(&receiveLock_);
    output_.reset();
    playing_ = false;
    return hr;
}

HRESULT CAudioRenderer::put_Volume(LONG volume) {
    if (volume < media::kVolumeSilent || volume > media::kVolumeFull) return E_INVALIDARG;
    volume_ = volume;
    return S_OK;
}

HRESULT CAudioRenderer::get_Volume(LONG* volume) {
    if (!volume) return E_POINTER;
    *volume = volume_.load();
    return S_OK;
}

HRESULT CAudioRenderer::put_Balance(LONG balance) {
    if (balance < -10000 || balance > 10000) return E_INVALIDARG;
    balance_ = balance;
    return S_OK;
}

HRESULT CAudioRenderer::get_Balance(LONG* balance) {
    if (!balance) return E_POINTER;
    *balance = balance_.load();
    return S_OK;
}

HRESULT CAudioRenderer::Render(IMediaSample* sample) {
    ++received_;
    if (!output_) return S_OK;  // consumed silently
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)) || !data) return S_OK;
    const std::size_t frameBytes = channels_ * sizeof(std::int16_t);
    const std::size_t frames = static_cast<std::size_t>(sample->GetActualDataLength()) / frameBytes;
    if (frames == 0) return S_OK;
    if (scratch_.size() < frames * channels_) scratch_.resize(frames * channels_);
    std::int32_t left = 0, right = 0;
    media::StereoGains(volume_.load(), balance_.load(), &left, &right);
    media::ApplyGains(reinterpret_cast<const std::int16_t*>(data), scratch_.data(), frames,
                      channels_, left, right);
    // The streaming thread never waits for the device: a live stream drops what does not fit.
    output_->Write(
        std::span(reinterpret_cast<const std::uint8_t*>(scratch_.data()), frames * frameBytes),
        std::chrono::milliseconds(0));
    return S_OK;
}
