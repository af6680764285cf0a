// CGrabberVideoStream: a video output of the simulated grabber. A preview pin sends the frames
// of its own input while the decoder is on that input and it has a signal; "Capture Out" sends
// the same frames of the recorded input. Frames are packed UYVY: the device's captured picture
// when the tick carries one, else drawn by the input's CameraScene.
//
// The picture size is the one the pin was connected with (the device's standard at that time).
// A change of standard while the pin is connected changes the frame rate at once, but the
// pictures keep their size until the pin is connected again: renderers and encoders downstream
// take their geometry only while stopped, so a size change in the middle of a stream would
// stop the preview.
#pragma once

#include "platform/devices/camera_scene.h"
#include "platform/devices/grabber_stream.h"

namespace devices {

class GrabberDevice;

class CGrabberVideoStream final : public CGrabberStream {
  public:
    enum class Kind { Preview, Capture };

    // Preview of input 1..4, or the capture stream (`input` unused). `device` outlives the pin.
    CGrabberVideoStream(CSource* filter, LPCWSTR name, Kind kind, int input, GrabberDevice* device);

    // Accepts UYVY at 720 x 576 (25/s) or 720 x 480 (30/s).
    HRESULT CheckMediaType(const CMediaType* type) override;
    // 0: the picture of the device's current standard; 1: the other one.
    HRESULT GetMediaType(int position, CMediaType* type) override;
    // Buffers for the largest picture, so that a change of standard fits.
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT Active() override;

  private:
    bool Wants(const FrameTick& tick) const override;
    HRESULT FillData(const FrameTick& tick, std::uint64_t index, IMediaSample* sample) override;

    const Kind kind_;
    const int input_;              // preview pins: 1..4
    GrabberDevice* const device_;  // the filter's device; outlives the pin
    // Streaming thread (set by Active before the thread starts).
    std::array<CameraScene, 4> scenes_{CameraScene(1), CameraScene(2), CameraScene(3),
                                       CameraScene(4)};
    VideoFormat connected_;  // the picture size of the connection
};

}  // namespace devices
