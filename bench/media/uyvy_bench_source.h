// A source filter for benchmarks of the media path: one output pin offering 720 x 576 UYVY
// frames at 25 per second, and no streaming thread of its own, so the benchmark loop delivers
// samples on its own thread and measures exactly the downstream work.
#pragma once

#include <memory>
#include <vector>

#include "platform/media/base/base_filter.h"
#include "platform/media/base/base_output_pin.h"
#include "platform/media/base/cmedia_type.h"
#include "platform/media/base/crit_sec.h"

namespace bench_media {

inline constexpr LONG kWidth = 720;
inline constexpr LONG kHeight = 576;
inline constexpr LONG kFrameBytes = kWidth * kHeight * 2;
inline constexpr int kFps = 25;

// The one media type the source offers and accepts.
CMediaType UyvyType();

// A UYVY frame that looks like camera output: smooth gradients with noise (the same every call).
std::vector<BYTE> CameraFrame();

class UyvyBenchSource final : public CBaseFilter {
  public:
    class Pin final : public CBaseOutputPin {
      public:
        Pin(UyvyBenchSource* filter, const char16_t* name);
        HRESULT CheckMediaType(const CMediaType* type) override;
        HRESULT GetMediaType(int position, CMediaType* type) override;
        // Three buffers of one frame each.
        HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    };

    // `pinName`: the output pin's name (static text), as the filter it stands in for names it.
    explicit UyvyBenchSource(const char16_t* pinName);
    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? pin_.get() : nullptr; }
    Pin* Output() { return pin_.get(); }

  private:
    ~UyvyBenchSource() override = default;
    // Benchmark thread only; the filter lock must exist before the pin that uses it.
    CCritSec lock_;
    std::unique_ptr<Pin> pin_;
};

}  // namespace bench_media
