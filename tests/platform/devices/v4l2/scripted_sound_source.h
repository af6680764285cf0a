// ScriptedSoundSource: a capture device's sound card for tests. Each read delivers the frames
// asked for, every sample the number of the read (1, 2, ...), or fails as scripted.
//
// Thread-safe (guarded by mutex_), so a test may script it while a capture thread reads.
#pragma once

#include <mutex>

#include "platform/devices/v4l2/sound_source.h"

namespace devices_test {

class ScriptedSoundSource final : public devices::SoundSource {
  public:
    int Read(std::vector<std::int16_t>* samples, std::size_t maxFrames) override {
        std::lock_guard lock(mutex_);
        ++reads_;
        if (failure_) return failure_;
        samples->insert(samples->end(), maxFrames * 2, static_cast<std::int16_t>(reads_));
        return 0;
    }
    void Fail(int error) {
        std::lock_guard lock(mutex_);
        failure_ = error;
    }

  private:
    std::mutex mutex_;
    // Guarded by mutex_.
    int reads_ = 0;
    int failure_ = 0;
};

}  // namespace devices_test
