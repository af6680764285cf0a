#include "platform/media/renderers/audio_renderer_pin.h"

#include "platform/media/base/audio_format.h"
#include "platform/media/interfaces/media_errors.h"
#include "platform/media/renderers/audio_renderer.h"

CAudioRendererPin::CAudioRendererPin(CAudioRenderer* renderer)
    : CBaseInputPin("audio renderer input", renderer, renderer->FilterLock(), nullptr,
                    u"Audio Input pin (rendered)"),
      renderer_(renderer) {}

HRESULT CAudioRendererPin::CheckMediaType(const CMediaType* type) {
    return media::IsAcceptedPcm(*type) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CAudioRendererPin::SetMediaType(const CMediaType* type) {
    if (!IsStopped()) return *type == CurrentMediaType() ? S_OK : VFW_E_WRONG_STATE;
    return CBaseInputPin::SetMediaType(type);
}

HRESULT CAudioRendererPin::Receive(IMediaSample* sample) {
    CAutoLock receive(renderer_->ReceiveLock());
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK) return hr;
    return renderer_->Render(sample);
}
