#include "platform/media/renderers/vmr_input_pin.h"

#include "platform/media/interfaces/media_errors.h"
#include "platform/media/renderers/video_mixing_renderer.h"

CVmrInputPin::CVmrInputPin(CVideoMixingRenderer9* renderer, int stream, LPCWSTR name)
    : CBaseInputPin("vmr input", renderer, renderer->FilterLock(), nullptr, name),
      renderer_(renderer),
      stream_(stream) {}

HRESULT CVmrInputPin::CheckMediaType(const CMediaType* type) {
    return CVideoMixingRenderer9::IsAcceptedType(*type) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CVmrInputPin::SetMediaType(const CMediaType* type) {
    // A format change carried by a sample while streaming is refused: the frame geometry is
    // set up only while the filter is stopped.
    if (!IsStopped()) return *type == CurrentMediaType() ? S_OK : VFW_E_WRONG_STATE;
    HRESULT hr = CBaseInputPin::SetMediaType(type);
    if (SUCCEEDED(hr) && stream_ == 0) hr = renderer_->SetVideoFormat(*type);
    return hr;
}

HRESULT CVmrInputPin::Receive(IMediaSample* sample) {
    CAutoLock receive(renderer_->ReceiveLock());
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK) return hr;
    return stream_ == 0 ? renderer_->RenderSample(sample) : S_OK;
}

HRESULT CVmrInputPin::BreakConnect() {
    if (stream_ == 0) renderer_->ClearVideoFormat();
    return CBaseInputPin::BreakConnect();
}
