#include <QtEndian>
#include <cmath>
#include <numbers>

#include "tools/artwork/artwork.h"

namespace artwork {

QByteArray AlarmSoundWave() {
    // 8-bit unsigned mono PCM at 11,025 Hz, 13,500 samples (about 1.2 s): four alternating tones.
    constexpr int kRate = 11025;
    constexpr int kSamples = 13500;
    constexpr int kTones = 4;
    constexpr int kToneSamples = kSamples / kTones;
    QByteArray pcm(kSamples, '\0');
    double phase = 0;
    for (int i = 0; i < kSamples; ++i) {
        const double frequency = (i / kToneSamples) % 2 == 0 ? 960.0 : 720.0;
        phase += 2 * std::numbers::pi * frequency / kRate;
        if (phase > 2 * std::numbers::pi) phase -= 2 * std::numbers::pi;
        // Short fades at every tone edge keep the loop free of clicks.
        const int inTone = i % kToneSamples;
        const double edge = std::min({1.0, inTone / 110.0, (kToneSamples - 1 - inTone) / 110.0});
        pcm[i] = static_cast<char>(128 + std::lround(0.6 * 127 * edge * std::sin(phase)));
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
    put32(kRate);  // bytes per second
    put16(1);      // block align
    put16(8);      // bits per sample
    wave.append("data");
    put32(pcm.size());
    wave.append(pcm);
    return wave;  // 13,544 bytes
}

}  // namespace artwork
