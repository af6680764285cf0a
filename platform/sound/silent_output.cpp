#include <chrono>
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
    bool Write(std::span<const std::uint8_t> frames) override {
        std::this_thread::sleep_for(
            std::chrono::microseconds(static_cast<long long>(frames.size()) * 1000000 /
                                      static_cast<long long>(bytesPerSecond_)));
        return true;
    }
    void Close() override {}

  private:
    std::size_t bytesPerSecond_ = 0;
};

}  // namespace

std::unique_ptr<PcmOutput> MakeSilentOutput() {
    return std::make_unique<SilentOutput>();
}

}  // namespace sound
