// CGrabberFilter: "QVD Grabber Device", the capture filter of the simulated grabber. Inputs
// "Video Tuner In" and "Audio Tuner In" take the crossbar's decoder outputs; outputs
// "PreView One" to "PreView Four" send each input's frames, "Capture Out" the recorded input's,
// "Audio PCM Out" the sound, each on its own streaming thread while the graph runs. It sets the
// decoder's video standard (IAMAnalogVideoDecoder) and names its property page
// (ISpecifyPropertyPages). When the device is removed, every output ends its stream.
#pragma once

#include <array>
#include <memory>

#include "platform/com/ispecify_property_pages.h"
#include "platform/devices/grabber_audio_stream.h"
#include "platform/devices/grabber_device.h"
#include "platform/devices/grabber_listeners.h"
#include "platform/devices/grabber_tuner_pin.h"
#include "platform/devices/grabber_video_stream.h"
#include "platform/media/base/source.h"
#include "platform/media/interfaces/iam_analog_video_decoder.h"

namespace devices {

class CGrabberFilter final : public CSource,
                             public IAMAnalogVideoDecoder,
                             public ISpecifyPropertyPages,
                             private FrameListener,
                             private DeviceChangeListener {
  public:
    // A new filter on `device` with one reference for the caller.
    static HRESULT Create(std::shared_ptr<GrabberDevice> device, IBaseFilter** filter);

    DECLARE_IUNKNOWN
    // Adds IAMAnalogVideoDecoder and ISpecifyPropertyPages.
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // Pins in order: the two tuner inputs, the four previews, "Capture Out", "Audio PCM Out".
    int GetPinCount() override;
    CBasePin* GetPin(int n) override;

    // IAMAnalogVideoDecoder. put_TVFormat changes the device's standard at once: connected
    // video streams take the new frame rate with their next frame and the new picture size
    // when they are connected again. A value that is not one supported standard is
    // E_INVALIDARG. Horizontal lock: 1 while the decoder is on an input with a signal. The
    // simulated decoder has no VCR mode and no output switch (E_NOTIMPL).
    HRESULT get_AvailableTVFormats(LONG* standards) override;
    HRESULT put_TVFormat(LONG standard) override;
    HRESULT get_TVFormat(LONG* standard) override;
    HRESULT get_HorizontalLocked(LONG* locked) override;
    HRESULT put_VCRHorizontalLocking(LONG) override { return E_NOTIMPL; }
    HRESULT get_VCRHorizontalLocking(LONG*) override { return E_NOTIMPL; }
    HRESULT get_NumberOfLines(LONG* lines) override;
    HRESULT put_OutputEnable(LONG) override { return E_NOTIMPL; }
    HRESULT get_OutputEnable(LONG*) override { return E_NOTIMPL; }

    // ISpecifyPropertyPages: CLSID_GrabberPropertyPage.
    HRESULT GetPages(CAUUID* pages) override;

  private:
    explicit CGrabberFilter(std::shared_ptr<GrabberDevice> device);
    ~CGrabberFilter() override;

    void OnFrameTick(const FrameTick& tick) override;
    bool WaitUntilPassedOn(std::chrono::milliseconds timeout) override;
    void OnDeviceChange(UINT event, const DeviceBroadcast& record) override;

    // Immutable after construction.
    const std::shared_ptr<GrabberDevice> device_;
    std::unique_ptr<CGrabberTunerPin> videoIn_;
    std::unique_ptr<CGrabberTunerPin> audioIn_;
    std::array<CGrabberStream*, 6> outputs_{};  // owned by CSource's streams
};

}  // namespace devices
