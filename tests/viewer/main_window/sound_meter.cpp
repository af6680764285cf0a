#include "tests/viewer/main_window/sound_meter.h"

namespace {

// Wraps the silent output (which keeps the pace) and counts the bytes written.
class MeteredOutput final : public sound::PcmOutput {
  public:
    explicit MeteredOutput(std::shared_ptr<SoundMeter::State> state)
        : state_(std::move(state)), silent_(sound::MakeSilentOutput()) {}
    bool Open(const sound::PcmFormat& format) override { return silent_->Open(format); }
    bool Write(std::span<const std::uint8_t> frames, std::chrono::milliseconds maxWait) override {
        {
            std::lock_guard<std::mutex> lock(state_->lock);
            state_->bytes += frames.size();
        }
        state_->written.notify_all();
        return silent_->Write(frames, maxWait);
    }
    void Close() override { silent_->Close(); }

  private:
    // Immutable after construction; used by the player's thread.
    const std::shared_ptr<SoundMeter::State> state_;
    const std::unique_ptr<sound::PcmOutput> silent_;
};

}  // namespace

sound::WavePlayer::OutputFactory SoundMeter::Factory() const {
    return [state = state_]() -> std::unique_ptr<sound::PcmOutput> {
        {
            std::lock_guard<std::mutex> lock(state->lock);
            ++state->starts;
        }
        return std::make_unique<MeteredOutput>(state);
    };
}

std::size_t SoundMeter::Starts() const {
    std::lock_guard<std::mutex> lock(state_->lock);
    return state_->starts;
}

std::size_t SoundMeter::BytesWritten() const {
    std::lock_guard<std::mutex> lock(state_->lock);
    return state_->bytes;
}

bool SoundMeter::WaitForBytes(std::size_t since, std::size_t bytes,
                              std::chrono::milliseconds limit) const {
    std::unique_lock<std::mutex> lock(state_->lock);
    return state_->written.wait_for(lock, limit, [&] { return state_->bytes >= since + bytes; });
}
