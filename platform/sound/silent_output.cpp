#include <algorithm>
#include <thread>

#include "platform/sound/pcm_output.h"

namespace sound {
namespace {

class SilentOutput final : public PcmOutput {
  public:
    bool Open(const PcmFormat& format) override {
        bytesPerSecond_ = format.FrameBytes() * format.sampleRate;
        return bytesPerSecond_ > 0;
    }
    bool Write(std::span<const std::uint8_t> frames, std::chrono::milliseconds maxWait) override {
        if (bytesPerSecond_ == 0) return false;
        const std::chrono::microseconds playing(static_cast<long long>(frames.size()) * 1000000 /
                                                static_cast<long long>(bytesPerSecond_));
        const std::chrono::microseconds wait =
            std::min<std::chrono::microseconds>(playing, maxWait);
        if (wait.count() > 0) std::this_thread::sleep_for(wait);
        return true;
    }
    void Close() override {}

  private:
    // The thread that writes.
    std::size_t bytesPerSecond_ = 0;
};

}  // namespace

std::unique_ptr<PcmOutput> MakeSilentOutput() {
    return std::make_unique<SilentOutput>();
}

}  // namespace sound
