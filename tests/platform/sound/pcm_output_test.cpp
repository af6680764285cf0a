#include "platform/sound/pcm_output.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/temp_dir.h"

namespace {

using std::chrono::milliseconds;

constexpr sound::PcmFormat kStereo16{48000, 2, 16};

TEST(AlsaOutputTest, OpensTheDeviceTheEnvironmentNames) {
    {
        testing_support::ScopedEnv none("QUADREL_AUDIO_DEVICE", "none");
        EXPECT_EQ(sound::OpenAlsaOutput(), nullptr);
    }
    {
        testing_support::ScopedEnv missing("QUADREL_AUDIO_DEVICE", "no_such_quadrel_device");
        EXPECT_EQ(sound::OpenAlsaOutput(), nullptr);
    }
    // ALSA's "null" device really opens and takes samples, on any machine.
    testing_support::ScopedEnv null("QUADREL_AUDIO_DEVICE", "null");
    std::unique_ptr<sound::PcmOutput> output = sound::OpenAlsaOutput();
    ASSERT_NE(output, nullptr);
    ASSERT_TRUE(output->Open(kStereo16));
    // Far more than the device buffers, written by a live stream that never waits: what does not
    // fit is dropped and the write still succeeds.
    const std::vector<std::uint8_t> tenSeconds(10 * 48000 * 4);
    EXPECT_TRUE(output->Write(tenSeconds, milliseconds(0)));
    EXPECT_TRUE(output->Write(std::span(tenSeconds).first(4 * 480), milliseconds(0)));
    output->Close();
    EXPECT_FALSE(output->Write(tenSeconds, milliseconds(0)));  // closed: refused, not crashed
    EXPECT_FALSE(output->Open(kStereo16));
}

TEST(SilentOutputTest, RefusesAnEmptyFormatAndNeverWaitsLongerThanAllowed) {
    std::unique_ptr<sound::PcmOutput> output = sound::MakeSilentOutput();
    EXPECT_FALSE(output->Open(sound::PcmFormat{0, 2, 16}));
    EXPECT_FALSE(output->Write(std::vector<std::uint8_t>(4), milliseconds(0)));
    ASSERT_TRUE(output->Open(sound::PcmFormat{8000, 1, 8}));
    // Ten minutes of sound with no wait allowed return at once (a wait would outlast the test).
    const std::vector<std::uint8_t> tenMinutes(std::size_t{600} * 8000);
    EXPECT_TRUE(output->Write(tenMinutes, milliseconds(0)));
    output->Close();
}

TEST(PcmOutputTest, WithoutADeviceTheOutputIsSilentButThere) {
    testing_support::ScopedEnv none("QUADREL_AUDIO_DEVICE", "none");
    std::unique_ptr<sound::PcmOutput> output = sound::OpenPcmOutput();
    ASSERT_NE(output, nullptr);
    EXPECT_TRUE(output->Open(sound::PcmFormat{11025, 1, 8}));
}

}  // namespace
