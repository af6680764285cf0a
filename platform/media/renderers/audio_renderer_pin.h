// The input pin of the audio renderer: accepts PCM (see audio_format.h) and hands every sample
// to the renderer.
#pragma once

#include "platform/media/base/base_input_pin.h"

class CAudioRenderer;

class CAudioRendererPin final : public CBaseInputPin {
  public:
    explicit CAudioRendererPin(CAudioRenderer* renderer);

    HRESULT CheckMediaType(const CMediaType* type) override;
    // A format change carried by a sample while streaming is refused.
    HRESULT SetMediaType(const CMediaType* type) override;
    // Receive lock of the renderer held.
    HRESULT Receive(IMediaSample* sample) override;
    HRESULT ReceiveCanBlock() override { return S_FALSE; }

  private:
    CAudioRenderer* const renderer_;  // owner
};
