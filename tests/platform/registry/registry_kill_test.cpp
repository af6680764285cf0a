// The settings store killed at seeded points of its writes: a child process commits values and
// reports each one through a pipe once its call has returned; it kills itself (SIGKILL) at a
// step of a write chosen by a seeded generator, so every run is reproducible. After each kill the
// parent checks that the hive parses in full, holds every value the child reported, and that no
// temporary file is left once the hive has been opened again.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/registry/hive_file.h"
#include "platform/registry/hive_status.h"
#include "platform/registry/registry.h"
#include "tests/support/temp_dir.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempRegistry;

constexpr int kRuns = 200;
constexpr int kCommitsPerRun = 3;
constexpr unsigned kSeed = 20261208;

// The child's count of write steps left before it kills itself (a child has one thread).
int g_stepsLeft = 0;

void CountStep(registry::WriteStep) {
    if (g_stepsLeft-- == 0) ::raise(SIGKILL);
}

std::u16string Wide(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

// Commit number c stores a new value "v<c>" = c when c is even, and overwrites "latest" with c
// when it is odd.
std::u16string NameOf(DWORD commit) {
    return commit % 2 == 0 ? Wide("v" + std::to_string(commit)) : u"latest";
}

// In the child: commits `first` to `first + kCommitsPerRun - 1`, reporting each on `report`,
// and is killed by the hook after `steps` write steps (or by itself after the last commit).
[[noreturn]] void RunWriter(int report, DWORD first, int steps) {
    g_stepsLeft = steps;
    registry::SetWriteStepHookForTests(&CountStep);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Corvane\\Grabber", 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        ::_exit(3);
    for (DWORD c = first; c < first + kCommitsPerRun; ++c) {
        if (RegSetValueExW(key, NameOf(c).c_str(), 0, REG_DWORD, reinterpret_cast<BYTE*>(&c),
                           sizeof c) != ERROR_SUCCESS)
            ::_exit(4);
        if (::write(report, &c, sizeof c) != static_cast<ssize_t>(sizeof c)) ::_exit(5);
    }
    ::raise(SIGKILL);
    ::_exit(6);
}

bool HasTemporaryFile(const std::string& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().find(".tmp-") != std::string::npos) return true;
    return false;
}

bool HasDamagedCopy(const std::string& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().find(".damaged-") != std::string::npos) return true;
    return false;
}

DWORD DwordOf(const registry::Value& v) {
    DWORD d = 0;
    for (int k = 3; k >= 0; --k) d = (d << 8) | v.data[static_cast<std::size_t>(k)];
    return d;
}

TEST(RegistryKillTest, KilledWritersLeaveNoDamageNoLostValueAndNoTemporaryFile) {
    TempRegistry registry;
    std::mt19937 rng(kSeed);
    // Steps of the key's creation (first run only) and of the commits, and one past them: a kill
    // between commits or after the last one.
    std::uniform_int_distribution<int> stepDist(0, 4 * (kCommitsPerRun + 1));
    std::vector<DWORD> committed;  // every commit a child reported, in order
    DWORD next = 0;
    int runsWithLeftovers = 0;
    for (int run = 0; run < kRuns; ++run) {
        const int steps = stepDist(rng);
        SCOPED_TRACE("run " + std::to_string(run) + ", killed after " + std::to_string(steps) +
                     " write steps");
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeFds[0]);
            RunWriter(pipeFds[1], next, steps);
        }
        ::close(pipeFds[1]);
        DWORD reported = 0;
        while (::read(pipeFds[0], &reported, sizeof reported) ==
               static_cast<ssize_t>(sizeof reported))
            committed.push_back(reported);
        ::close(pipeFds[0]);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the writer failed on its own, status " << status;
        next += kCommitsPerRun;  // a commit killed before its report may still have landed

        // The file, read as it is: whole, and holding every reported commit.
        if (HasTemporaryFile(registry.Path())) ++runsWithLeftovers;
        if (committed.empty()) continue;
        registry::Hive hive;
        std::string error;
        ASSERT_TRUE(registry::Parse(ReadFile(registry.UserHive()), &hive, &error)) << error;
        const registry::Key* key = hive.Find(u"Software\\Corvane\\Grabber");
        ASSERT_NE(key, nullptr);
        DWORD lastOdd = 0;
        bool anyOdd = false;
        for (DWORD c : committed) {
            if (c % 2 != 0) {
                lastOdd = c;
                anyOdd = true;
                continue;
            }
            const registry::Value* v = key->FindValue(NameOf(c));
            ASSERT_NE(v, nullptr) << "commit " << c << " was lost";
            ASSERT_EQ(DwordOf(*v), c);
        }
        if (anyOdd) {
            // The last overwrite reported, or one that landed after it before its report.
            const registry::Value* latest = key->FindValue(u"latest");
            ASSERT_NE(latest, nullptr);
            ASSERT_GE(DwordOf(*latest), lastOdd);
            ASSERT_LT(DwordOf(*latest), next);
        }

        // Opening the hive again removes what the killed writer left.
        HKEY opened = nullptr;
        ASSERT_EQ(
            RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Corvane\\Grabber", 0, KEY_READ, &opened),
            ERROR_SUCCESS);
        RegCloseKey(opened);
        ASSERT_FALSE(HasTemporaryFile(registry.Path()));
        ASSERT_FALSE(HasDamagedCopy(registry.Path()));
        ASSERT_FALSE(registry::HiveStatusOf(HKEY_CURRENT_USER).damaged);
    }
    EXPECT_GT(committed.size(), static_cast<std::size_t>(kRuns));
    // The seeded kill points include the window between writing and renaming.
    EXPECT_GT(runsWithLeftovers, kRuns / 10);
}

}  // namespace
