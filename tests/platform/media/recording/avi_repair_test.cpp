// What a crash leaves of a recording and its repair: a recording process killed with SIGKILL
// leaves a file that plays up to at most a second before the kill, and the repair gives it the
// index and header sizes that let players seek; a repair that cannot finish changes nothing.
#include "platform/media/recording/avi_repair.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/media/interfaces/media_errors.h"
#include "tests/platform/media/recording/avi_reader.h"
#include "tests/platform/media/recording/killed_recording.h"
#include "tests/support/temp_dir.h"

namespace recording_test {
namespace {

TEST(AviRepairTest, AKilledRecordingPlaysToTheLastSecondAndSeeksOnceRepaired) {
    testing_support::TempDir dir;
    const std::string path = dir.File("killed.avi");
    const KilledRecording killed = RecordAndKill(path, 100);
    ASSERT_TRUE(killed.killed);
    ASSERT_GE(killed.framesReported, 100);
    EXPECT_GE(static_cast<long long>(std::filesystem::file_size(path)), killed.committed);

    // As the kill left it: every frame up to a second before the kill decodes, but the header
    // does not know the length and the index is missing.
    const FileInfo cut = ReadAvi(path);
    ASSERT_TRUE(cut.opened);
    EXPECT_GE(cut.decodedPictures, killed.framesReported - 25);
    ASSERT_FALSE(cut.streams.empty());
    EXPECT_NE(cut.streams[0].frames, cut.videoPackets);
    EXPECT_LT(cut.videoIndexEntries, cut.videoPackets);

    recording::AviRepairResult result;
    ASSERT_EQ(recording::RepairAviFile(path, nullptr, &result), S_OK);
    EXPECT_FALSE(std::filesystem::exists(path + ".repair"));
    EXPECT_EQ(result.videoFrames, cut.videoPackets);
    EXPECT_NEAR(result.seconds, static_cast<double>(cut.videoPackets) / 25.0, 0.05);

    const FileInfo repaired = ReadAvi(path);
    ASSERT_TRUE(repaired.opened);
    ASSERT_EQ(repaired.streams.size(), 2u);
    EXPECT_EQ(repaired.streams[0].frames, result.videoFrames);
    EXPECT_EQ(repaired.decodedPictures, cut.decodedPictures);
    EXPECT_GE(repaired.videoIndexEntries, result.videoFrames);
    // Both streams keep their length and times (the kill may have cut them a little apart).
    EXPECT_NEAR(repaired.streams[0].duration, cut.streams[0].duration, 0.05);
    EXPECT_NEAR(repaired.streams[1].duration, cut.streams[1].duration, 0.05);
    // A key frame starts every second, so a seek to 2 s lands on the frame at 2 s.
    EXPECT_NEAR(SeekVideo(path, 2.0), 2.0, 0.01);

    // A second repair of a finished file keeps every frame.
    recording::AviRepairResult again;
    ASSERT_EQ(recording::RepairAviFile(path, nullptr, &again), S_OK);
    EXPECT_EQ(again.videoFrames, result.videoFrames);
}

TEST(AviRepairTest, ARepairThatCannotFinishLeavesTheFileAsItWas) {
    testing_support::TempDir dir;
    recording::AviRepairResult result;
    EXPECT_EQ(recording::RepairAviFile(dir.File("missing.avi"), nullptr, &result),
              HRESULT_FROM_WIN32(2));  // ERROR_FILE_NOT_FOUND

    // Cut before the header was written: nothing to save, and nothing is changed.
    const std::string empty = dir.File("empty.avi");
    testing_support::WriteFile(empty, "RIFF");
    EXPECT_EQ(recording::RepairAviFile(empty, nullptr, &result), VFW_E_INVALID_FILE_FORMAT);
    EXPECT_EQ(testing_support::ReadFile(empty), "RIFF");

    // Cancelled (the program closes while it repairs): the file keeps its bytes.
    const std::string path = dir.File("short.avi");
    ASSERT_TRUE(RecordAndKill(path, 25).killed);
    const std::string before = testing_support::ReadFile(path);
    const std::atomic<bool> cancel{true};
    EXPECT_EQ(recording::RepairAviFile(path, &cancel, &result), E_ABORT);
    EXPECT_EQ(testing_support::ReadFile(path), before);
    EXPECT_FALSE(std::filesystem::exists(path + ".repair"));
    EXPECT_EQ(result.videoFrames, 0);
}

// A damaged recording whose audio header claims a block of 255 bytes for 2-byte samples (found by
// avi_repair_fuzz): its repaired file puts two audio chunks on one tick of the new time base.
// The repair writes such a chunk right after the previous one instead of failing, so the file
// repairs, and repairs again, with every video frame.
TEST(AviRepairTest, PacketsThatFallOnOneTickDoNotStopTheRepair) {
    testing_support::TempDir dir;
    const std::string path = dir.File("clashing.avi");
    std::filesystem::copy_file(RECORDING_TEST_DATA "/clashing_audio_times.avi", path);

    recording::AviRepairResult first;
    ASSERT_EQ(recording::RepairAviFile(path, nullptr, &first), S_OK);
    EXPECT_EQ(first.videoFrames, 2);
    recording::AviRepairResult again;
    ASSERT_EQ(recording::RepairAviFile(path, nullptr, &again), S_OK);
    EXPECT_EQ(again.videoFrames, first.videoFrames);
    EXPECT_FALSE(std::filesystem::exists(path + ".repair"));
    const FileInfo repaired = ReadAvi(path);
    ASSERT_TRUE(repaired.opened);
    EXPECT_EQ(repaired.videoPackets, first.videoFrames);
}

}  // namespace
}  // namespace recording_test
