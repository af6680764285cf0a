#include "platform/devices/audio_tone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace devices {
namespace {

constexpr int kRate = AudioTone::kSampleRate;

std::vector<std::int16_t> Fill(std::uint64_t first, std::size_t frames) {
    std::vector<std::int16_t> out(frames * 2, 0x5555);
    AudioTone().Fill(first, out);
    return out;
}

TEST(AudioToneTest, PipAtTheStartOfEachSecondSilenceElsewhere) {
    for (std::uint64_t second : {0ull, 1ull, 3600ull}) {
        const auto s = Fill(second * kRate, kRate);
        int peak = 0;
        for (std::size_t i = 0; i < s.size(); i += 2) {
            ASSERT_EQ(s[i], s[i + 1]) << "both channels alike";
            const std::size_t frame = i / 2;
            if (frame >= static_cast<std::size_t>(AudioTone::kPipSamples)) {
                ASSERT_EQ(s[i], 0) << frame;
            }
            peak = std::max(peak, std::abs(int{s[i]}));
        }
        EXPECT_LE(peak, AudioTone::kPipAmplitude);
        EXPECT_GE(peak, AudioTone::kPipAmplitude * 99 / 100);
        // Faded in and out: no click at either end.
        EXPECT_EQ(s[0], 0);
        EXPECT_LE(std::abs(int{s[2 * (AudioTone::kPipSamples - 1)]}), 1);
    }
}

TEST(AudioToneTest, PiecesJoinSeamlessly) {
    const auto whole = Fill(100, 3000);
    std::vector<std::int16_t> pieces;
    for (std::uint64_t first = 100; first < 3100; first += 777) {
        const std::size_t frames = std::min<std::uint64_t>(777, 3100 - first);
        const auto piece = Fill(first, frames);
        pieces.insert(pieces.end(), piece.begin(), piece.end());
    }
    EXPECT_EQ(pieces, whole);
}

TEST(AudioToneTest, OddLastValueIsLeftAlone) {
    std::vector<std::int16_t> out(5, 0x5555);
    AudioTone().Fill(10, out);
    EXPECT_EQ(out[4], 0x5555);
}

}  // namespace
}  // namespace devices
