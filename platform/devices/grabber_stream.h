// CGrabberStream: an output pin of the simulated grabber. The device hands it the frame ticks it
// wants; its streaming thread waits for each, stamps the sample with the tick's time on the
// stream (device time since the stream started) and has the derived pin fill the data.
#pragma once

#include "platform/devices/device_clock.h"
#include "platform/devices/frame_queue.h"
#include "platform/media/base/source_stream.h"

namespace devices {

class CGrabberStream : public CSourceStream {
  public:
    // `filter` owns the pin; `clock` is the device's clock and outlives the pin.
    CGrabberStream(const char* objectName, CSource* filter, LPCWSTR name, const DeviceClock* clock);

    // The device's frame listener, device lock held: keeps `tick` if this pin sends it.
    void Offer(const FrameTick& tick) {
        if (Wants(tick)) queue_.Post(tick);
    }
    // The device was removed: the stream ends (end of stream downstream) once the kept ticks
    // are sent, until the filter is stopped and started again.
    void EndStream() { queue_.End(); }
    // Any thread: waits (bounded) until the kept ticks have been sent downstream.
    bool WaitUntilSent(std::chrono::milliseconds timeout) { return queue_.WaitUntilSent(timeout); }

    HRESULT Active() override;
    HRESULT Run(REFERENCE_TIME start) override;
    void OnStopRequested() override;
    // Nothing takes the kept ticks any more until the stream starts again.
    void OnPushingEnded() override { queue_.Abandon(); }
    // Waits for the next tick; S_FALSE when the stream stops or ends.
    HRESULT FillBuffer(IMediaSample* sample) final;

  protected:
    // Required: whether this pin sends `tick`'s frame. Any thread, device lock held.
    virtual bool Wants(const FrameTick& tick) const = 0;
    // Required: fills the sample's data for `tick` and sets its data length. The times, the
    // media times (`index`, counted per stream), the sync point and the discontinuity flag of
    // the first sample are set by the caller. Streaming thread.
    virtual HRESULT FillData(const FrameTick& tick, std::uint64_t index, IMediaSample* sample) = 0;

  private:
    const DeviceClock* const clock_;  // the device's; outlives the pin
    FrameQueue queue_;
    // Streaming thread (reset by Active before the thread starts).
    std::uint64_t sent_ = 0;
};

}  // namespace devices
