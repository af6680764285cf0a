// CGrabberTunerPin: "Video Tuner In" or "Audio Tuner In" of the simulated grabber, where the
// crossbar's decoder outputs connect. It takes the analogue link of its kind; nothing streams
// through it (the simulated signal reaches the grabber inside the device).
#pragma once

#include "platform/media/base/base_input_pin.h"

namespace devices {

class CGrabberTunerPin final : public CBaseInputPin {
  public:
    // `majorType`: MEDIATYPE_AnalogVideo or MEDIATYPE_AnalogAudio. `filter` owns the pin.
    CGrabberTunerPin(CBaseFilter* filter, CCritSec* lock, LPCWSTR name, const GUID& majorType);

    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;

  private:
    const GUID majorType_;  // immutable
};

}  // namespace devices
