// A push source for recording tests: a UYVY video stream and a 16-bit PCM stream whose samples
// go one step at a time, with sample times n x duration, and a count of samples delivered
// downstream that a test can wait for.
#pragma once

#include <condition_variable>
#include <mutex>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/media/base/source.h"
#include "platform/media/base/source_stream.h"

namespace recording_test {

// Luma of pixel (x, y) of video frame n: a ramp that moves two pixels a frame, with bars.
BYTE LumaAt(int x, int y, int n);

class RecordingSource final : public CSource {
  public:
    class Stream final : public CSourceStream {
      public:
        // `video`: frames of width x height UYVY; else PCM of `rate` Hz stereo in blocks of
        // `blockSamples`.
        Stream(RecordingSource* filter, LPCWSTR name, CMediaType type, REFERENCE_TIME duration,
               bool video);

        HRESULT CheckMediaType(const CMediaType* type) override;
        HRESULT GetMediaType(int position, CMediaType* type) override;
        HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
        HRESULT FillBuffer(IMediaSample* sample) override;
        HRESULT Deliver(IMediaSample* sample) override;
        void OnStopRequested() override;
        HRESULT Active() override;

        // Application thread: lets `count` more samples go.
        void Step(int count);
        // Waits (bounded, ten seconds) until `count` samples were delivered or a delivery
        // failed; the number delivered.
        int WaitDelivered(int count);
        // The result of the last failed delivery, or S_OK.
        HRESULT LastFailure();

      private:
        const CMediaType m_type;
        const REFERENCE_TIME m_duration;
        const bool m_video;
        // Guarded by m_mutex.
        std::mutex m_mutex;
        std::condition_variable m_changed;
        int m_credit = 0;
        bool m_stopping = false;
        int m_delivered = 0;
        HRESULT m_failure = S_OK;
        // Streaming thread only.
        int m_next = 0;
    };

    static ComPtr<RecordingSource> Create();
    // Before any connection. 720 x 576 at 25/s by default.
    Stream* AddVideo(LONG width = 720, LONG height = 576, REFERENCE_TIME duration = 400000);
    // 48 kHz stereo in 40 ms blocks.
    Stream* AddAudio();

  private:
    RecordingSource();
    ~RecordingSource() override;
};

}  // namespace recording_test
