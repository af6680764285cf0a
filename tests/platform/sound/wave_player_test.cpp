#include "platform/sound/wave_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>

#include "tests/support/temp_dir.h"

namespace {

std::vector<std::uint8_t> MakeWave(std::uint32_t rate, std::uint16_t channels, std::uint16_t bits,
                                   std::size_t dataBytes, bool extraChunk = false) {
    std::vector<std::uint8_t> w;
    auto put = [&](const char* text) {
        for (int i = 0; i < 4; ++i) w.push_back(static_cast<std::uint8_t>(text[i]));
    };
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) w.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto put16 = [&](std::uint16_t v) {
        w.push_back(static_cast<std::uint8_t>(v));
        w.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    put("RIFF");
    put32(0);
    put("WAVE");
    put("fmt ");
    put32(16);
    put16(1);
    put16(channels);
    put32(rate);
    put32(rate * channels * bits / 8);
    put16(static_cast<std::uint16_t>(channels * bits / 8));
    put16(bits);
    if (extraChunk) {  // an odd-sized chunk the reader must skip with its pad byte
        put("LIST");
        put32(3);
        for (std::uint8_t b : {1, 2, 3, 0}) w.push_back(b);
    }
    put("data");
    put32(static_cast<std::uint32_t>(dataBytes));
    for (std::size_t i = 0; i < dataBytes; ++i) w.push_back(static_cast<std::uint8_t>(i));
    return w;
}

TEST(WaveDataTest, ReadsPcmAndRefusesWhatItCannotPlay) {
    const std::vector<std::uint8_t> alarm = MakeWave(11025, 1, 8, 13500, true);
    sound::WaveData wave;
    std::string error;
    ASSERT_TRUE(sound::ParseWave(alarm, &wave, &error)) << error;
    EXPECT_EQ(wave.format.sampleRate, 11025u);
    EXPECT_EQ(wave.format.bitsPerSample, 8);
    EXPECT_EQ(wave.samples.size(), 13500u);
    EXPECT_EQ(wave.samples[1], 1);

    std::vector<std::uint8_t> truncated = alarm;
    truncated.resize(truncated.size() - 100);  // "data" claims more than the file holds
    EXPECT_FALSE(sound::ParseWave(truncated, &wave, &error));
    EXPECT_NE(error.find("past the end"), std::string::npos);
    std::vector<std::uint8_t> notPcm = alarm;
    notPcm[20] = 3;  // IEEE float
    EXPECT_FALSE(sound::ParseWave(notPcm, &wave, &error));
    EXPECT_FALSE(sound::ParseWave(std::vector<std::uint8_t>(alarm.begin(), alarm.begin() + 11),
                                  &wave, &error));
    // A stereo 16-bit sound whose data ends in half a frame plays the whole frames only.
    ASSERT_TRUE(sound::ParseWave(MakeWave(44100, 2, 16, 10), &wave, &error));
    EXPECT_EQ(wave.samples.size(), 8u);
}

// Records what is played; Write returns at once so that tests wait on counts, not on time.
class RecordingOutput final : public sound::PcmOutput {
  public:
    struct Log {
        std::mutex mutex;
        std::condition_variable changed;
        std::size_t bytes = 0;
        int opens = 0;
        int closes = 0;
        std::chrono::milliseconds shortestWait = std::chrono::milliseconds::max();
    };
    explicit RecordingOutput(Log* log) : log_(log) {}
    bool Open(const sound::PcmFormat&) override {
        std::lock_guard lock(log_->mutex);
        ++log_->opens;
        return true;
    }
    bool Write(std::span<const std::uint8_t> frames, std::chrono::milliseconds maxWait) override {
        std::lock_guard lock(log_->mutex);
        log_->shortestWait = std::min(log_->shortestWait, maxWait);
        log_->bytes += frames.size();
        log_->changed.notify_all();
        return true;
    }
    void Close() override {
        std::lock_guard lock(log_->mutex);
        ++log_->closes;
        log_->changed.notify_all();
    }

  private:
    Log* log_;
};

TEST(WavePlayerTest, LoopsUntilStoppedAndAnotherPlayReplacesTheSound) {
    RecordingOutput::Log log;
    sound::WavePlayer player([&] { return std::make_unique<RecordingOutput>(&log); });
    const std::vector<std::uint8_t> wave = MakeWave(11025, 1, 8, 1000);
    ASSERT_TRUE(player.Play(wave, true));
    {
        std::unique_lock lock(log.mutex);
        ASSERT_TRUE(log.changed.wait_for(lock, std::chrono::seconds(10), [&] {
            return log.bytes >= 3000;
        })) << "the sound did not loop";
    }
    EXPECT_TRUE(player.IsPlaying());
    ASSERT_TRUE(player.Play(wave, true));  // restarts: the first output is closed
    player.Stop();
    EXPECT_FALSE(player.IsPlaying());
    std::lock_guard lock(log.mutex);
    EXPECT_EQ(log.opens, 2);
    EXPECT_EQ(log.closes, 2);
}

TEST(WavePlayerTest, PlaysOnceAndRefusesBadData) {
    RecordingOutput::Log log;
    sound::WavePlayer player([&] { return std::make_unique<RecordingOutput>(&log); });
    ASSERT_TRUE(player.Play(MakeWave(11025, 1, 8, 1000), false));
    {
        std::unique_lock lock(log.mutex);
        ASSERT_TRUE(
            log.changed.wait_for(lock, std::chrono::seconds(10), [&] { return log.closes == 1; }));
        EXPECT_EQ(log.bytes, 1000u);
        // The player keeps its pace by the device: its writes may wait for room.
        EXPECT_GT(log.shortestWait, std::chrono::milliseconds(0));
    }
    EXPECT_FALSE(player.Play({'R', 'I', 'F', 'F'}, true));
    EXPECT_FALSE(player.IsPlaying());
    player.Stop();
    player.Stop();
}

TEST(WavePlayerTest, WithoutADevicePlaysSilentlyAtTheSamePace) {
    testing_support::ScopedEnv none("QUADREL_AUDIO_DEVICE", "none");
    sound::WavePlayer player;  // the default output
    ASSERT_TRUE(player.Play(MakeWave(11025, 1, 8, 11025), true));
    EXPECT_TRUE(player.IsPlaying());
    player.Stop();
    EXPECT_FALSE(player.IsPlaying());
}

}  // namespace
