#include "platform/storage/recording_journal.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/support/temp_dir.h"

namespace {

TEST(RecordingJournalTest, EntriesOutliveTheObjectAndGoWhenRemoved) {
    testing_support::TempDir dir;
    // The folders are made with the first entry.
    const std::string file = dir.File("state/quadrel/recordings-in-progress");
    {
        storage::RecordingJournal journal(file);
        EXPECT_TRUE(journal.Entries().empty());
        EXPECT_TRUE(journal.Add("/video/2011-05-22-08-05-09.avi"));
        EXPECT_TRUE(journal.Add("/video/with space.avi"));
        EXPECT_TRUE(journal.Add("/video/2011-05-22-08-05-09.avi"));  // once only
        EXPECT_FALSE(journal.Add("/video/two\nlines.avi"));
        EXPECT_FALSE(journal.Add(""));
    }
    storage::RecordingJournal journal(file);
    EXPECT_EQ(journal.Entries(), (std::vector<std::string>{"/video/2011-05-22-08-05-09.avi",
                                                           "/video/with space.avi"}));
    struct stat info {};
    ASSERT_EQ(::stat(dir.File("state/quadrel").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    EXPECT_TRUE(journal.Remove("/video/not there.avi"));
    EXPECT_TRUE(journal.Remove("/video/2011-05-22-08-05-09.avi"));
    EXPECT_EQ(journal.Entries(), std::vector<std::string>{"/video/with space.avi"});
    EXPECT_FALSE(std::filesystem::exists(file + ".new"));
}

TEST(RecordingJournalTest, AFolderThatCannotBeMadeRefusesTheEntry) {
    testing_support::TempDir dir;
    testing_support::WriteFile(dir.File("plain"), "a file, not a folder");
    storage::RecordingJournal journal(dir.File("plain/quadrel/recordings-in-progress"));
    EXPECT_FALSE(journal.Add("/video/a.avi"));
    EXPECT_TRUE(journal.Entries().empty());
}

TEST(RecordingJournalTest, DefaultFileFollowsTheStateHome) {
    {
        testing_support::ScopedEnv state("XDG_STATE_HOME", "/srv/state");
        EXPECT_EQ(storage::RecordingJournal::DefaultFile(),
                  "/srv/state/quadrel/recordings-in-progress");
    }
    testing_support::ScopedEnv state("XDG_STATE_HOME", "");
    testing_support::ScopedEnv home("HOME", "/home/guard");
    EXPECT_EQ(storage::RecordingJournal::DefaultFile(),
              "/home/guard/.local/state/quadrel/recordings-in-progress");
}

}  // namespace
