// Plays one WAVE sound at a time, once or in a loop, without blocking the caller.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/sound/pcm_output.h"

namespace sound {

class WavePlayer {
  public:
    using OutputFactory = std::function<std::unique_ptr<PcmOutput>()>;

    // The default output is the ALSA device ($QUADREL_AUDIO_DEVICE), or silence with the same
    // pacing when none opens.
    WavePlayer();
    explicit WavePlayer(OutputFactory makeOutput);
    ~WavePlayer();
    WavePlayer(const WavePlayer&) = delete;
    WavePlayer& operator=(const WavePlayer&) = delete;

    // Stops any sound, then starts `wave` (a RIFF WAVE file, copied) on a thread of its own and
    // returns at once. Loops until Stop when `loop` is set. False, with nothing playing, when the
    // data is not PCM WAVE or the output cannot play its format.
    bool Play(std::vector<std::uint8_t> wave, bool loop);

    // Stops the sound; returns when the playing thread has ended. Harmless when nothing plays.
    void Stop();

    // Whether a sound is playing (a sound played once ends by itself).
    bool IsPlaying() const;

  private:
    void Run(std::vector<std::uint8_t> file, bool loop, std::unique_ptr<PcmOutput> output);

    OutputFactory makeOutput_;
    // GUI thread (the caller of Play and Stop) only.
    std::thread thread_;
    // Shared with the playing thread.
    std::atomic<bool> stop_{false};
    std::atomic<bool> playing_{false};
};

}  // namespace sound
