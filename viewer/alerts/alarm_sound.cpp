#include "viewer/alerts/alarm_sound.h"

#include "viewer/resources/resources.h"

namespace {

sound::WavePlayer::OutputFactory OrDefault(sound::WavePlayer::OutputFactory makeOutput) {
    if (makeOutput) return makeOutput;
    return [] { return sound::OpenPcmOutput(); };
}

}  // namespace

CAlarmSound::CAlarmSound(sound::WavePlayer::OutputFactory makeOutput)
    : player_(OrDefault(std::move(makeOutput))) {}

void CAlarmSound::Start() {
    player_.Stop();
    if (wave_.empty()) {
        const QByteArray bytes = resources::Wave(IDR_ALARM_WAVE);
        wave_.assign(bytes.begin(), bytes.end());
    }
    if (!wave_.empty()) player_.Play(wave_, true);
}

void CAlarmSound::Stop() {
    player_.Stop();
}
