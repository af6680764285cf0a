// CAudioRenderer: the audio renderer that IGraphBuilder::Render picks (CLSID_DSoundRender).
// Plays 16-bit mono or stereo PCM on the sound device (sound::OpenAlsaOutput, opened when the
// filter leaves stopped and closed when it stops; writes never wait, what the device cannot take
// is dropped), with the volume and balance of IBasicAudio. When no device opens, or the stream
// is PCM it cannot play, samples are consumed silently so the stream upstream keeps flowing.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "platform/media/base/base_filter.h"
#include "platform/media/interfaces/ibasic_audio.h"
#include "platform/media/renderers/audio_renderer_pin.h"
#include "platform/sound/pcm_output.h"

class CAudioRenderer final : public CBaseFilter, public IBasicAudio {
  public:
    // Class-table creation function.
    static CUnknown* CreateInstance(IUnknown* outer, HRESULT* hr);

    DECLARE_IUNKNOWN
    // Adds IBasicAudio (and IDispatch).
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override;
    // From stopped: opens the sound device for a playable stream.
    HRESULT Pause() override;
    // Waits for a sample in progress, then closes the device.
    HRESULT Stop() override;

    // IBasicAudio. Any thread; takes effect from the next sample.
    DECLARE_NO_DISPATCH
    HRESULT put_Volume(LONG volume) override;
    HRESULT get_Volume(LONG* volume) override;
    HRESULT put_Balance(LONG balance) override;
    HRESULT get_Balance(LONG* balance) override;

    // Pin side, streaming thread, receive lock held.
    HRESULT Render(IMediaSample* sample);
    CCritSec* ReceiveLock() { return &receiveLock_; }

    // Samples taken since creation, and whether a device plays them (any thread).
    LONGLONG SamplesReceived() const { return received_.load(); }
    bool IsPlaying() const { return playing_.load(); }

  private:
    explicit CAudioRenderer(IUnknown* outer);
    ~CAudioRenderer() override;

    CCritSec lock_;         // the filter lock
    CCritSec receiveLock_;  // held around each sample
    std::unique_ptr<CAudioRendererPin> pin_;
    // Any thread.
    std::atomic<LONG> volume_{0};
    std::atomic<LONG> balance_{0};
    std::atomic<LONGLONG> received_{0};
    std::atomic<bool> playing_{false};
    // Opened and closed under both locks; used on the streaming thread.
    std::unique_ptr<sound::PcmOutput> output_;
    unsigned channels_ = 0;
    // Streaming thread: scaled samples, grown once to the largest sample.
    std::vector<std::int16_t> scratch_;
};
