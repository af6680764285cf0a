// CGrabberAudioStream: "Audio PCM Out" of the grabber. For every sound period of the attached
// device (one per frame period) it sends that period's sound (48 kHz stereo 16-bit), whichever
// input the decoder is on: the sound the device captured, the simulated device's AudioTone, or
// silence for a device without sound of its own.
#pragma once

#include <array>

#include "platform/devices/audio_tone.h"
#include "platform/devices/grabber_stream.h"

namespace devices {

class CGrabberAudioStream final : public CGrabberStream {
  public:
    // `clock` is the device's; it outlives the pin.
    CGrabberAudioStream(CSource* filter, LPCWSTR name, const DeviceClock* clock);

    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

    // Sample frames (one value per channel) in the longest frame period, 1/25 s.
    static constexpr std::size_t kMaxFramesPerPiece = AudioTone::kSampleRate / 25;

  private:
    bool Wants(const FrameTick& tick) const override { return tick.soundPeriod; }
    HRESULT FillData(const FrameTick& tick, std::uint64_t index, IMediaSample* sample) override;

    const AudioTone tone_;
    // Streaming thread: the piece is made here and copied into the sample.
    std::array<std::int16_t, kMaxFramesPerPiece * AudioTone::kChannels> piece_{};
};

}  // namespace devices
