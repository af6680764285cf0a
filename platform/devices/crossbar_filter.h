// CCrossbarFilter: "QV BDA Crossbar Filter" of the simulated grabber. Its outputs
// "0: Video Decoder Out" and "1: Audio Decoder Out" carry the analogue video and audio links to
// the grabber's tuner inputs. The routing is fixed, so nothing streams through them; they
// exist so that the graph has the device's shape.
#pragma once

#include <memory>

#include "platform/media/base/base_filter.h"
#include "platform/media/base/base_output_pin.h"

namespace devices {

class CCrossbarFilter final : public CBaseFilter {
  public:
    // A new filter with one reference for the caller.
    static HRESULT Create(IBaseFilter** filter);

    int GetPinCount() override { return 2; }
    CBasePin* GetPin(int n) override;

  private:
    // An analogue decoder output: offers and accepts only its own major type.
    class Pin final : public CBaseOutputPin {
      public:
        Pin(CCrossbarFilter* filter, LPCWSTR name, const GUID& majorType);
        HRESULT CheckMediaType(const CMediaType* type) override;
        HRESULT GetMediaType(int position, CMediaType* type) override;
        // One token buffer: the link carries no samples.
        HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

      private:
        const GUID majorType_;  // immutable
    };

    CCrossbarFilter();
    ~CCrossbarFilter() override = default;

    CCritSec lock_;  // the filter lock; declared before the pins
    // Immutable after construction (the pins live as long as the filter).
    std::unique_ptr<Pin> video_;
    std::unique_ptr<Pin> audio_;
};

}  // namespace devices
