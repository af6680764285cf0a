// SoundMeter: an alarm-sound output for tests that plays silence at the pace of real playback
// and counts what reaches it: how often an output was made (each start of a sound makes one) and
// how many sample bytes were written.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>

#include "platform/sound/pcm_output.h"
#include "platform/sound/wave_player.h"

class SoundMeter {
  public:
    SoundMeter() : state_(std::make_shared<State>()) {}

    // The factory to give the player; its outputs report to this meter.
    sound::WavePlayer::OutputFactory Factory() const;

    std::size_t Starts() const;
    std::size_t BytesWritten() const;
    // Waits until at least `bytes` more than `since` were written, at most `limit`.
    bool WaitForBytes(std::size_t since, std::size_t bytes, std::chrono::milliseconds limit) const;

    // Guarded by `lock`; written by the players' threads, read by the test.
    struct State {
        mutable std::mutex lock;
        mutable std::condition_variable written;
        std::size_t starts = 0;
        std::size_t bytes = 0;
    };

  private:
    std::shared_ptr<State> state_;
};
