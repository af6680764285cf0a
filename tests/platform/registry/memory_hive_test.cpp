// A hive that opted in to be kept in memory when its file cannot be read. Its own program: the
// opt-in holds for the whole process.
#include "platform/registry/memory_hives.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/registry/hive_status.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(MemoryHiveTest, AnUnreadableHiveGoesOnInMemoryForTheRestOfTheProcessAndIsNeverSaved) {
    testing_support::TempRegistry registry;
    registry::KeepInMemoryWhenUnreadable(HKEY_CURRENT_USER);
    ASSERT_EQ(::mkdir(registry.UserHive().c_str(), 0700), 0);

    ::testing::internal::CaptureStderr();
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\K", 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::testing::internal::GetCapturedStderr();
    const DWORD seven = 7;
    ASSERT_EQ(RegSetValueExW(key, u"n", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&seven), 4),
              ERROR_SUCCESS);
    registry::HiveStatus status = registry::HiveStatusOf(HKEY_CURRENT_USER);
    EXPECT_TRUE(status.unreadable);
    EXPECT_TRUE(status.inMemory);

    // Readable again: the process stays on what it has, and writes nothing to the file.
    ASSERT_EQ(::rmdir(registry.UserHive().c_str()), 0);
    DWORD value = 0;
    DWORD size = sizeof value;
    EXPECT_EQ(RegQueryValueExW(key, u"n", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 7u);
    EXPECT_FALSE(std::filesystem::exists(registry.UserHive()));
    RegCloseKey(key);

    // The other hive, which did not opt in, is read from its file as ever.
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, u"CLSID", 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_TRUE(std::filesystem::exists(registry.ClassesHive()));
    EXPECT_FALSE(registry::HiveStatusOf(HKEY_CLASSES_ROOT).inMemory);
}

}  // namespace
