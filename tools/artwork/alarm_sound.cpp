#include <QtEndian>
#include <cmath>
#include <numbers>

#include "tools/artwork/artwork.h"

namespace artwork {

QByteArray AlarmSoundWave() {
    constexpr int kRate = 22050;
    constexpr int kToneSamples = kRate * 2 / 5;  // 0.4 s a tone
    constexpr int kTones = 4;                    // high, low, high, low
    constexpr int kSamples = kToneSamples * kTones;
    QByteArray pcm(kSamples * 2, '\0');
    double phase = 0;
    for (int i = 0; i < kSamples; ++i) {
        const double frequency = (i / kToneSamples) % 2 == 0 ? 960.0 : 720.0;
        phase += 2 * std::numbers::pi * frequency / kRate;
        if (phase > 2 * std::numbers::pi) phase -= 2 * std::numbers::pi;
        // Short fades at every tone edge keep the loop free of clicks.
        const int inTone = i % kToneSamples;
        const double edge = std::min({1.0, inTone / 220.0, (kToneSamples - 1 - inTone) / 220.0});
        const auto sample = static_cast<qint16>(std::lround(0.55 * 32767 * edge * std::sin(phase)));
        qToLittleEndian(sample, pcm.data() + 2 * i);
    }
    QByteArray wave;
    auto put32 = [&](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        wave.append(b, 4);
    };
    auto put16 = [&](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        wave.append(b, 2);
    };
    wave.append("RIFF");
    put32(36 + pcm.size());
    wave.append("WAVEfmt ");
    put32(16);
    put16(1);  // PCM
    put16(1);  // mono
    put32(kRate);
    put32(kRate * 2);
    put16(2);
    put16(16);
    wave.append("data");
    put32(pcm.size());
    wave.append(pcm);
    return wave;
}

}  // namespace artwork
