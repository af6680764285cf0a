// What a crash leaves of a recording and its repair: a recording process killed with SIGKILL
// leaves a file that plays up to at most a second before the kill, and the repair gives it the
// index and header sizes that let players seek; a repair that cannot finish changes nothing.
#include "platform/media/recording/avi_repair.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/media/interfaces/media_errors.h"
#include "tests/platform/media/recording/avi_reader.h"
#include "tests/support/temp_dir.h"

extern char** environ;

namespace recording_test {
namespace {

struct KilledRecording {
    int framesReported = 0;  // video frames the child had delivered when it was killed
    long long committed = 0;
};

// Runs the recording child on `path` until it reports `frames` delivered frames, then kills it
// with SIGKILL and reaps it.
KilledRecording RecordAndKill(const std::string& path, int frames) {
    KilledRecording killed;
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return killed;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::string program = RECORDING_CHILD;
    char* argv[] = {program.data(), const_cast<char*>(path.c_str()), nullptr};
    pid_t child = -1;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        return killed;
    }
    FILE* out = ::fdopen(pipeFds[0], "r");
    int reported = 0;
    long long committed = 0;
    while (out && std::fscanf(out, "frames %d committed %lld\n", &reported, &committed) == 2) {
        killed.framesReported = reported;
        killed.committed = committed;
        if (reported >= frames) break;
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (out) std::fclose(out);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the child ended by itself";
    return killed;
}

TEST(AviRepairTest, AKilledRecordingPlaysToTheLastSecondAndSeeksOnceRepaired) {
    testing_support::TempDir dir;
    const std::string path = dir.File("killed.avi");
    const KilledRecording killed = RecordAndKill(path, 100);
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
    EXPECT_NEAR(repaired.streams[1].duration, repaired.streams[0].duration, 0.1);
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
    RecordAndKill(path, 25);
    const std::string before = testing_support::ReadFile(path);
    const std::atomic<bool> cancel{true};
    EXPECT_EQ(recording::RepairAviFile(path, &cancel, &result), E_ABORT);
    EXPECT_EQ(testing_support::ReadFile(path), before);
    EXPECT_FALSE(std::filesystem::exists(path + ".repair"));
    EXPECT_EQ(result.videoFrames, 0);
}

}  // namespace
}  // namespace recording_test
