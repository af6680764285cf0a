// An input pin of the video mixing renderer: accepts UYVY, RGB32 and RGB24 video with a
// VIDEOINFOHEADER and hands the samples of stream 0 to the renderer.
#pragma once

#include "platform/media/base/base_input_pin.h"

class CVideoMixingRenderer9;

class CVmrInputPin final : public CBaseInputPin {
  public:
    CVmrInputPin(CVideoMixingRenderer9* renderer, int stream, LPCWSTR name);

    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT SetMediaType(const CMediaType* type) override;
    // Receive lock of the renderer held; stream 0 is shown, the others are dropped.
    HRESULT Receive(IMediaSample* sample) override;
    HRESULT ReceiveCanBlock() override { return S_FALSE; }
    HRESULT BreakConnect() override;

    int Stream() const { return stream_; }

  private:
    CVideoMixingRenderer9* const renderer_;  // owner
    const int stream_;
};
