#include <gtest/gtest.h>

#include <map>

#include "platform/base/utf16.h"
#include "viewer/settings/default_settings.h"

namespace {

class FakeDisks final : public storage::DiskSpace {
  public:
    std::vector<std::string> candidates;
    std::map<std::string, std::uint64_t> free;  // a candidate without an entry fails its query
    std::vector<std::string> SaveFolderCandidates() const override { return candidates; }
    bool FreeBytesForUser(const std::string& folder, std::uint64_t* bytes) const override {
        auto it = free.find(folder);
        if (it == free.end()) return false;
        *bytes = it->second;
        return true;
    }
};

std::string Choose(const FakeDisks& disks, HRESULT* hr, LPCWSTR sub = u"Record/") {
    WCHAR path[kSavePathUnits];
    std::fill(std::begin(path), std::end(path), u'#');
    *hr = ChooseDefaultSavePath(sub, path, disks);
    return path[0] == u'#' ? "(untouched)" : utf16::ToUtf8(path);
}

TEST(SavePathTest, MostFreeSpaceWinsAndTheEarlierCandidateOnATie) {
    FakeDisks disks;
    disks.candidates = {"/home/user", "/mnt/big", "/mnt/same"};
    disks.free = {{"/home/user", 10}, {"/mnt/big", 500}, {"/mnt/same", 500}};
    HRESULT hr;
    EXPECT_EQ(Choose(disks, &hr), "/mnt/big/Record/");
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(Choose(disks, &hr, u"Picture/"), "/mnt/big/Picture/");

    disks.free["/home/user"] = 500;
    EXPECT_EQ(Choose(disks, &hr), "/home/user/Record/");
}

TEST(SavePathTest, AFailedQueryEndsTheChoiceWithoutAPath) {
    FakeDisks disks;
    disks.candidates = {"/home/user", "/broken"};
    disks.free = {{"/home/user", 10}};
    HRESULT hr;
    EXPECT_EQ(Choose(disks, &hr), "(untouched)");
    EXPECT_EQ(hr, E_FAIL);
}

TEST(SavePathTest, NoSpaceAnywhereKeepsTheFirstCandidateAndLongPathsAreRefused) {
    FakeDisks disks;
    disks.candidates = {"/", "/other"};
    disks.free = {{"/", 0}, {"/other", 0}};
    HRESULT hr;
    EXPECT_EQ(Choose(disks, &hr), "/Record/");
    disks.candidates = {"/" + std::string(260, 'x')};
    disks.free = {{disks.candidates[0], 1}};
    EXPECT_EQ(Choose(disks, &hr), "(untouched)");
    EXPECT_EQ(hr, STRSAFE_E_INSUFFICIENT_BUFFER);
}

TEST(SavePathTest, TheSystemListStartsWithTheHomeFolder) {
    const char* home = std::getenv("HOME");
    if (!home || !*home) GTEST_SKIP() << "HOME is not set";
    const std::vector<std::string> candidates = storage::DiskSpace::System().SaveFolderCandidates();
    ASSERT_FALSE(candidates.empty());
    EXPECT_EQ(candidates.front(), home);
    std::uint64_t bytes = 0;
    EXPECT_TRUE(storage::DiskSpace::System().FreeBytesForUser(candidates.front() + "/not/yet/made",
                                                              &bytes));
    EXPECT_GT(bytes, 0u);
}

}  // namespace
