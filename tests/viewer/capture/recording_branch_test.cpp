// The recording branch on the capture graph of the simulated grabber, with the overlay filter of
// the registered libvexlay.so: a recording decoded back shows the scene of the recorded camera
// with the title and the time burned in; the graph state around a start and a stop.
#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <vector>

#include "platform/devices/camera_scene.h"
#include "platform/media/interfaces/imedia_control.h"
#include "tests/overlay/vexlay_library.h"
#include "tests/platform/media/recording/avi_reader.h"
#include "tests/support/temp_dir.h"
#include "tests/viewer/capture/capture_fixture.h"
#include "viewer/capture/recording_branch.h"

using namespace std::chrono_literals;

namespace {

constexpr int kWidth = 720;
constexpr int kHeight = 576;

OAFilterState StateOf(CaptureGraph* record) {
    OAFilterState state = -1;
    record->mediaControl->GetState(-1, &state);
    return state;
}

struct Region {
    int left, top, right, bottom;
};

// Pixels of `region` whose luma differs by more than 60 between the two planes.
int StrongDifferences(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b,
                      Region region) {
    int count = 0;
    for (int y = region.top; y < region.bottom; ++y)
        for (int x = region.left; x < region.right; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * kWidth + x;
            if (std::abs(int{a[at]} - int{b[at]}) > 60) ++count;
        }
    return count;
}

double MeanDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b,
                      Region region) {
    long long sum = 0;
    for (int y = region.top; y < region.bottom; ++y)
        for (int x = region.left; x < region.right; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * kWidth + x;
            sum += std::abs(int{a[at]} - int{b[at]});
        }
    return static_cast<double>(sum) / ((region.right - region.left) * (region.bottom - region.top));
}

// The luma of camera 1's frame `n`, undecorated, as the grabber draws it.
std::vector<unsigned char> SourceLuma(std::uint64_t n) {
    const devices::VideoFormat format{kWidth, kHeight, 25};
    std::vector<std::uint8_t> uyvy(format.FrameBytes());
    devices::CameraScene(1).Render(n, format, uyvy);
    std::vector<unsigned char> luma(static_cast<std::size_t>(kWidth) * kHeight);
    for (std::size_t i = 0; i < luma.size(); ++i) luma[i] = uyvy[2 * i + 1];
    return luma;
}

class RecordingBranchTest : public CaptureTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(library_.Loaded());
        ASSERT_EQ(library_.Register(), S_OK);
        Attach("signal=1,2");
        record_ = BuildWithPanes();
        ASSERT_NE(record_, nullptr);
        // The decoder fixed on camera 1, whose frames the recording takes.
        record_->device->SelectDisplayChannel(1);
    }
    // Steps the device frame by frame, waiting (bounded) until every stream has passed each
    // frame on, so that no frame is dropped because the stepped clock ran ahead.
    void StepFrames(int frames) {
        for (int i = 0; i < frames; ++i) {
            Step(40ms);
            ASSERT_TRUE(Grabber().WaitUntilFramesPassedOn(30s));
        }
    }

    VexlayLibrary library_;
    testing_support::TempDir files_;
    CaptureGraph* record_ = nullptr;
};

TEST_F(RecordingBranchTest, ARecordingDecodesToTheCameraWithTitleAndStamp) {
    ASSERT_EQ(RunGraph(record_), S_OK);
    StepFrames(5);
    const std::string path = files_.File("clip.avi");
    const std::u16string file(path.begin(), path.end());
    ASSERT_EQ(StartRecording(u"Gate 1", record_, file.c_str(), 1, 0), S_OK);
    EXPECT_TRUE(record_->fileWriter && record_->titleFilter && record_->aviMux);
    EXPECT_EQ(StateOf(record_), State_Running);
    StepFrames(63);  // 2.5 s
    ASSERT_EQ(StopRecording(record_, true), S_OK);
    EXPECT_EQ(StateOf(record_), State_Running);
    EXPECT_FALSE(record_->fileWriter || record_->videoEncoder || record_->audioEncoder ||
                 record_->aviMux || record_->titleFilter);

    const recording_test::FileInfo info = recording_test::ReadAvi(path, 6);
    ASSERT_TRUE(info.opened);
    const recording_test::StreamInfo* video = nullptr;
    bool audio = false;
    for (const recording_test::StreamInfo& stream : info.streams) {
        if (stream.video) video = &stream;
        if (!stream.video && stream.sampleRate > 0) audio = true;
    }
    ASSERT_NE(video, nullptr);
    EXPECT_TRUE(audio);
    EXPECT_EQ(video->width, kWidth);
    EXPECT_EQ(video->height, kHeight);
    EXPECT_NEAR(video->frameRate, 25.0, 0.01);
    // 63 frames were recorded; the first may fall either side of the start.
    EXPECT_NEAR(video->duration, 63 / 25.0, 0.1);
    ASSERT_GE(info.luma.size(), 6u);

    // Find the source frame of a decoded picture by its middle, which the overlay leaves alone
    // (the square moves and the stripes scroll every frame, so one frame matches).
    const std::vector<unsigned char>& picture = info.luma[5];
    const Region middle{180, 150, 540, 420};
    double best = std::numeric_limits<double>::max();
    std::vector<unsigned char> source;
    for (std::uint64_t n = 0; n < 120; ++n) {
        std::vector<unsigned char> candidate = SourceLuma(n);
        const double difference = MeanDifference(picture, candidate, middle);
        if (difference < best) {
            best = difference;
            source = std::move(candidate);
        }
    }
    ASSERT_LT(best, 8.0) << "no source frame matches the decoded picture";
    EXPECT_LT(StrongDifferences(picture, source, middle), 200);
    // The title at the top left and the date and time at the bottom right.
    EXPECT_GT(StrongDifferences(picture, source, Region{0, 0, 240, 40}), 150) << "no title";
    EXPECT_GT(StrongDifferences(picture, source, Region{400, 536, 720, 576}), 150) << "no stamp";
}

TEST_F(RecordingBranchTest, TheGraphStateIsKeptAroundAStartAndAStopWithoutRestoreStopsIt) {
    ASSERT_EQ(PauseGraph(record_), S_OK);
    const std::string path = files_.File("paused.avi");
    const std::u16string file(path.begin(), path.end());
    ASSERT_EQ(StartRecording(u"Gate 1", record_, file.c_str(), 1, 5), S_OK);
    EXPECT_EQ(StateOf(record_), State_Paused);
    EXPECT_TRUE(record_->fileWriter);
    // A second start replaces the branch.
    ASSERT_EQ(StartRecording(u"Gate 1", record_, file.c_str(), 2, 1), S_OK);
    EXPECT_EQ(StateOf(record_), State_Paused);
    ASSERT_EQ(RunGraph(record_), S_OK);
    StepFrames(3);
    ASSERT_EQ(StopRecording(record_, false), S_OK);
    EXPECT_EQ(StateOf(record_), State_Stopped);
    EXPECT_FALSE(record_->fileWriter);
    // Stopping without a branch only sends the device command.
    EXPECT_EQ(StopRecording(record_, true), S_OK);
    EXPECT_EQ(StateOf(record_), State_Stopped);
}

TEST_F(RecordingBranchTest, AStartThatFailsAtTheFileWriterLeavesABranchTheNextStartReplaces) {
    ASSERT_EQ(RunGraph(record_), S_OK);
    EXPECT_EQ(StartRecording(u"Gate 1", record_, nullptr, 1, 0), E_POINTER);
    EXPECT_FALSE(record_->fileWriter);
    EXPECT_TRUE(record_->titleFilter && record_->aviMux);
    EXPECT_EQ(StateOf(record_), State_Stopped);  // not restored after a failure
    const std::string path = files_.File("retry.avi");
    const std::u16string file(path.begin(), path.end());
    ASSERT_EQ(StartRecording(u"Gate 1", record_, file.c_str(), 1, 0), S_OK);
    EXPECT_TRUE(record_->fileWriter);
    ASSERT_EQ(StopRecording(record_, false), S_OK);
}

TEST_F(RecordingBranchTest, TeardownRemovesAnAttachedBranchAndMissingPartsAreRefused) {
    const std::string path = files_.File("torn.avi");
    const std::u16string file(path.begin(), path.end());
    ASSERT_EQ(RunGraph(record_), S_OK);
    ASSERT_EQ(StartRecording(u"", record_, file.c_str(), 1, 0), S_OK);
    StepFrames(2);
    // The fixture's teardown checks that every object is released.
    FreeCaptureGraph();
    CaptureGraph empty;
    EXPECT_EQ(StartRecording(u"x", nullptr, file.c_str(), 1, 0), E_FAIL);
    EXPECT_EQ(StartRecording(u"x", &empty, file.c_str(), 1, 0), E_FAIL);
    EXPECT_EQ(StopRecording(&empty, true), E_FAIL);
    EXPECT_EQ(CreateRecordingFilters(&empty), E_FAIL);
    EXPECT_EQ(ConnectRecordingBranch(&empty), E_POINTER);
    EXPECT_EQ(DisconnectRecordingBranch(&empty), E_POINTER);
}

}  // namespace
