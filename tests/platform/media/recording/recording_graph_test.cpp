// The recording filters in a real graph: a stepped UYVY 720 x 576 source and a PCM source, the
// two encoders in DMO wrappers, the AVI multiplexer and the file writer; the file is read back
// with libavformat and libavcodec.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/com/runtime.h"
#include "platform/media/interfaces/ifile_writer_status.h"
#include "platform/media/runtime/media_runtime.h"
#include "tests/platform/media/recording/avi_reader.h"
#include "tests/platform/media/recording/recording_graph.h"
#include "tests/support/temp_dir.h"

namespace recording_test {
namespace {

class RecordingGraphTest : public ::testing::Test, protected RecordingGraph {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        RegisterMediaRuntime();
        ASSERT_EQ(CreateGraph(), S_OK);
    }
    void TearDown() override {
        Release();
        CoUninitialize();
    }

    void Build(const std::string& path, bool withAudio, LONG quality = 0, LONG height = 576,
               REFERENCE_TIME frameDuration = 400000) {
        ASSERT_EQ(Assemble(path, withAudio, quality, height, frameDuration), S_OK);
    }

    // Runs, lets `frames` video frames (and as much audio) go, waits until they are delivered.
    void Record(int frames) {
        ASSERT_EQ(control->Run(), S_OK);
        video->Step(frames);
        if (audio) audio->Step(frames);
        ASSERT_EQ(video->WaitDelivered(frames), frames);
        if (audio) {
            ASSERT_EQ(audio->WaitDelivered(frames), frames);
        }
    }

    std::string PathOf(const char* name) const { return (dir / name).string(); }

    testing_support::TempDir tempDir;
    const std::filesystem::path dir{tempDir.Path()};
};

double MeanAbsLumaDifference(const std::vector<unsigned char>& plane, int n) {
    double sum = 0;
    for (int y = 0; y < 576; ++y)
        for (int x = 0; x < 720; ++x)
            sum += std::abs(static_cast<int>(plane[static_cast<std::size_t>(y) * 720 + x]) -
                            static_cast<int>(LumaAt(x, y, n)));
    return sum / (720.0 * 576.0);
}

TEST_F(RecordingGraphTest, RecordsVideoAndAudioThatDecodeBack) {
    const std::string path = PathOf("both.avi");
    Build(path, true);
    Record(50);
    ASSERT_EQ(control->Stop(), S_OK);
    HRESULT error = E_FAIL;
    ASSERT_EQ(status->GetError(&error), S_OK);
    EXPECT_EQ(error, S_OK);

    const FileInfo file = ReadAvi(path);
    ASSERT_TRUE(file.opened);
    ASSERT_EQ(file.streams.size(), 2u);
    const StreamInfo& v = file.streams[0];
    const StreamInfo& a = file.streams[1];
    EXPECT_TRUE(v.video);
    EXPECT_EQ(v.codec, "mpeg4");
    EXPECT_EQ(v.width, 720);
    EXPECT_EQ(v.height, 576);
    EXPECT_DOUBLE_EQ(v.frameRate, 25.0);
    EXPECT_EQ(v.frames, 50);
    EXPECT_EQ(file.decodedPictures, 50);
    EXPECT_NEAR(v.duration, 2.0, 1e-6);
    EXPECT_FALSE(a.video);
    EXPECT_EQ(a.sampleRate, 48000);
    EXPECT_EQ(a.channels, 2);
    EXPECT_NEAR(a.duration, v.duration, 0.1);
    ASSERT_EQ(file.luma.size(), 2u);
    EXPECT_LT(MeanAbsLumaDifference(file.luma[0], 0), 3.0);
    EXPECT_LT(MeanAbsLumaDifference(file.luma[1], 1), 3.0);
}

TEST_F(RecordingGraphTest, GrowingFileIsReadableUpToTheLastCommit) {
    const std::string path = PathOf("growing.avi");
    Build(path, true);
    Record(50);
    // The multiplexer commits at least once per second of recorded time: the frame at 1 s did.
    LONGLONG committed = 0;
    ASSERT_EQ(status->GetCommittedBytes(&committed), S_OK);
    ASSERT_GT(committed, 0);
    const std::string copy = PathOf("copy.avi");
    {
        std::ifstream in(path, std::ios::binary);
        std::string bytes(static_cast<std::size_t>(committed), '\0');
        in.read(bytes.data(), committed);
        std::ofstream(copy, std::ios::binary).write(bytes.data(), committed);
    }
    const FileInfo file = ReadAvi(copy);
    ASSERT_TRUE(file.opened);
    EXPECT_GE(file.decodedPictures, 25);
    ASSERT_EQ(control->Stop(), S_OK);
}

TEST_F(RecordingGraphTest, FullDiskIsReportedAndStopReturns) {
    Build("/dev/full", true);
    const HRESULT run = control->Run();
    EXPECT_TRUE(FAILED(run));
    video->Step(5);
    audio->Step(5);
    HRESULT error = S_OK;
    ASSERT_EQ(status->GetError(&error), S_OK);
    EXPECT_EQ(error, HRESULT_FROM_WIN32(112));  // ERROR_DISK_FULL
    EXPECT_EQ(status->WaitCommitted(1, 0), HRESULT_FROM_WIN32(112));
    EXPECT_EQ(control->Stop(), S_OK);
}

TEST_F(RecordingGraphTest, DiskFillingUpWhileRecordingStopsTheStreamAndStopReturns) {
    const std::string path = PathOf("filling.avi");
    Build(path, true);
    // A file size limit makes writes past it fail (EFBIG) as a full disk would, without root.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction previous {};
    ASSERT_EQ(sigaction(SIGXFSZ, &ignore, &previous), 0);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limit = saved;
    limit.rlim_cur = 256 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    ASSERT_EQ(control->Run(), S_OK);
    video->Step(100);
    audio->Step(100);
    const int delivered = video->WaitDelivered(100);
    EXPECT_LT(delivered, 100);
    EXPECT_TRUE(FAILED(video->LastFailure()));
    HRESULT error = S_OK;
    ASSERT_EQ(status->GetError(&error), S_OK);
    EXPECT_EQ(error, HRESULT_FROM_WIN32(112));  // ERROR_DISK_FULL
    EXPECT_EQ(control->Stop(), S_OK);
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &previous, nullptr);
    // What was committed before the failure still reads.
    const FileInfo file = ReadAvi(path);
    EXPECT_TRUE(file.opened);
}

TEST_F(RecordingGraphTest, RecordsNtscFrames) {
    const std::string path = PathOf("ntsc.avi");
    Build(path, false, 1, 480, 333333);
    Record(30);
    ASSERT_EQ(control->Stop(), S_OK);
    const FileInfo file = ReadAvi(path);
    ASSERT_TRUE(file.opened);
    ASSERT_EQ(file.streams.size(), 1u);
    EXPECT_EQ(file.streams[0].width, 720);
    EXPECT_EQ(file.streams[0].height, 480);
    EXPECT_NEAR(file.streams[0].frameRate, 30.0, 0.01);
    EXPECT_EQ(file.decodedPictures, 30);
    EXPECT_NEAR(file.streams[0].duration, 1.0, 0.01);
}

TEST_F(RecordingGraphTest, LowerQualityGivesSmallerFiles) {
    std::uintmax_t sizes[3] = {};
    for (LONG quality = 0; quality < 3; ++quality) {
        const std::string path = PathOf(("q" + std::to_string(quality) + ".avi").c_str());
        Build(path, false, quality);
        Record(25);
        ASSERT_EQ(control->Stop(), S_OK);
        sizes[quality] = std::filesystem::file_size(path);
        // Next round in a fresh graph.
        ASSERT_EQ(CreateGraph(), S_OK);
    }
    EXPECT_GT(sizes[0], sizes[1]);
    EXPECT_GT(sizes[1], sizes[2]);
}

}  // namespace
}  // namespace recording_test
