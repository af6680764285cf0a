// CAlarmSound: the alarm sound, the program's WAVE resource 294 looped on the sound output until
// it is stopped. Without a sound device it plays to the silent output, so it never blocks and
// never fails loudly.
//
// GUI thread only; the samples are written by the player's own thread.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/sound/wave_player.h"

inline constexpr int IDR_ALARM_WAVE = 294;

class CAlarmSound {
  public:
    // `makeOutput` (null: the ALSA device, or silence when none opens) makes the output of each
    // start.
    explicit CAlarmSound(sound::WavePlayer::OutputFactory makeOutput);
    CAlarmSound(const CAlarmSound&) = delete;
    CAlarmSound& operator=(const CAlarmSound&) = delete;

    // Stops any alarm sound, then starts the alarm looping; returns at once.
    void Start();
    // Stops the sound; harmless when none plays.
    void Stop();
    bool Playing() const { return player_.IsPlaying(); }

  private:
    // GUI thread only.
    std::vector<std::uint8_t> wave_;  // the RIFF file of resource 294, read at the first start
    sound::WavePlayer player_;
};
