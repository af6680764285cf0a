// A sink filter for the grabber's tests: one input pin "In" that takes one major type and keeps
// what arrives (times, lengths, type changes, the last sample's bytes) and the end of stream.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/media/base/base_filter.h"
#include "platform/media/base/base_input_pin.h"

namespace devices_test {

struct ReceivedSample {
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    LONG length = 0;
    bool discontinuity = false;
    std::optional<LONG> newHeight;  // a type change carried by the sample: its picture height
};

class RecordingSink final : public CBaseFilter {
  public:
    static ComPtr<RecordingSink> Create(const GUID& majorType);

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override;

    // Waits (bounded by a generous timeout) until `done` holds; false on timeout.
    bool WaitUntil(const std::function<bool(const RecordingSink&)>& done);
    bool WaitForSamples(std::size_t count) {
        return WaitUntil([count](const RecordingSink& s) { return s.samples_.size() >= count; });
    }
    bool WaitForEndOfStream() {
        return WaitUntil([](const RecordingSink& s) { return s.endOfStream_; });
    }

    std::vector<ReceivedSample> Samples();
    std::vector<BYTE> LastData();
    bool EndOfStreamSeen();

  private:
    class Pin final : public CBaseInputPin {
      public:
        explicit Pin(RecordingSink* sink);
        HRESULT CheckMediaType(const CMediaType* type) override;
        HRESULT Receive(IMediaSample* sample) override;
        HRESULT EndOfStream() override;
        HRESULT ReceiveCanBlock() override { return S_FALSE; }

      private:
        RecordingSink* sink_;  // owner
    };

    explicit RecordingSink(const GUID& majorType);
    ~RecordingSink() override = default;

    CCritSec lock_;  // the filter lock; before the pin
    const GUID majorType_;
    std::unique_ptr<Pin> pin_;
    // Guarded by mutex_.
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<ReceivedSample> samples_;
    std::vector<BYTE> last_;
    bool endOfStream_ = false;
};

}  // namespace devices_test
