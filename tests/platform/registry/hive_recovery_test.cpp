// A hive's file that is damaged, unreadable, or littered with temporary files: what is kept, what
// is said, and what HiveStatusOf reports.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/base/printable_text.h"
#include "platform/registry/hive_status.h"
#include "platform/registry/registry.h"
#include "tests/support/temp_dir.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempRegistry;
using testing_support::WriteFile;

class HiveRecoveryTest : public ::testing::Test {
  protected:
    // The files of the registry folder whose names contain `part`.
    std::vector<std::string> FilesWith(const std::string& part) const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(registry_.Path()))
            if (entry.path().filename().string().find(part) != std::string::npos)
                found.push_back(entry.path().string());
        return found;
    }
    static bool HasValue(LPCWSTR path, LPCWSTR name, DWORD* value = nullptr) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        DWORD data = 0;
        DWORD size = sizeof data;
        const bool found = RegQueryValueExW(key, name, nullptr, nullptr,
                                            reinterpret_cast<BYTE*>(&data), &size) == ERROR_SUCCESS;
        RegCloseKey(key);
        if (found && value) *value = data;
        return found;
    }
    static LONG SetDword(LPCWSTR path, LPCWSTR name, DWORD value) {
        HKEY key = nullptr;
        LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr);
        if (rc == ERROR_SUCCESS)
            rc = RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
        if (key) RegCloseKey(key);
        return rc;
    }

    TempRegistry registry_;
};

TEST_F(HiveRecoveryTest, OneBadLineKeepsEveryOtherValueAndTheFileIsKeptAside) {
    const std::string damaged =
        "; hive\n"
        "[Software\\Corvane\\Grabber]\n"
        "\"TV Format\"=dword:32\n"
        "this is not a value\n"
        "\"Fast Turning\"=dword:1\n"
        "[Broken\n"
        "\"Lost\"=dword:7\n"
        "[Other]\n"
        "\"Kept\"=dword:5\n";
    WriteFile(registry_.UserHive(), damaged);
    ::testing::internal::CaptureStderr();
    DWORD value = 0;
    EXPECT_TRUE(HasValue(u"Software\\Corvane\\Grabber", u"TV Format", &value));
    const std::string message = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(value, 32u);
    EXPECT_TRUE(HasValue(u"Software\\Corvane\\Grabber", u"Fast Turning"));
    EXPECT_TRUE(HasValue(u"Other", u"Kept"));
    // The value under the bad key line belongs to no key: it goes neither to the key before.
    EXPECT_FALSE(HasValue(u"Software\\Corvane\\Grabber", u"Lost"));
    EXPECT_NE(message.find(registry_.UserHive()), std::string::npos) << message;
    EXPECT_NE(message.find("line 4"), std::string::npos) << message;
    EXPECT_NE(message.find("3 bad lines"), std::string::npos) << message;

    // Kept aside byte for byte, once; the hive's file now holds what could be read, and later
    // changes leave the copy alone.
    const std::vector<std::string> aside = FilesWith(".damaged-");
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(ReadFile(aside[0]), damaged);
    EXPECT_EQ(SetDword(u"Other", u"New", 1), ERROR_SUCCESS);
    EXPECT_TRUE(HasValue(u"Software\\Corvane\\Grabber", u"TV Format"));
    EXPECT_EQ(FilesWith(".damaged-").size(), 1u);
    EXPECT_EQ(ReadFile(aside[0]), damaged);
    EXPECT_EQ(ReadFile(registry_.UserHive()).find("not a value"), std::string::npos);

    const registry::HiveStatus status = registry::HiveStatusOf(HKEY_CURRENT_USER);
    EXPECT_EQ(status.file, registry_.UserHive());
    EXPECT_TRUE(status.damaged);
    EXPECT_FALSE(status.unreadable);
    EXPECT_EQ(status.keptAs, aside[0]);
    EXPECT_EQ(status.badLines, 3u);
    EXPECT_NE(status.damage.find("line 4"), std::string::npos) << status.damage;
    EXPECT_FALSE(registry::HiveStatusOf(HKEY_CLASSES_ROOT).damaged);
}

TEST_F(HiveRecoveryTest, InvalidUtf8IsDamageAndIsNeverRewrittenLossily) {
    const std::string damaged =
        "[K]\n"
        "\"Good\"=sz:\"\xE9\x80\x9A\xE9\x81\x93\"\n"  // valid: 通道
        "\"Latin1\"=sz:\"caf\xE9\"\n"                 // a Latin-1 byte
        "\"Surrogate\"=sz:\"\xED\xA0\x80\"\n"         // an encoded surrogate
        "\"Number\"=dword:3\n";
    WriteFile(registry_.UserHive(), damaged);
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(HasValue(u"K", u"Number"));
    const std::string message = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("line 3: not UTF-8"), std::string::npos) << message;
    EXPECT_FALSE(HasValue(u"K", u"Latin1"));
    EXPECT_FALSE(HasValue(u"K", u"Surrogate"));

    const std::vector<std::string> aside = FilesWith(".damaged-");
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(ReadFile(aside[0]), damaged);
    EXPECT_EQ(SetDword(u"K", u"Changed", 1), ERROR_SUCCESS);
    const std::string rewritten = ReadFile(registry_.UserHive());
    EXPECT_TRUE(text::IsValidUtf8(rewritten));
    EXPECT_NE(rewritten.find("\"Good\"=sz:\"\xE9\x80\x9A\xE9\x81\x93\""), std::string::npos)
        << rewritten;
    EXPECT_EQ(registry::HiveStatusOf(HKEY_CURRENT_USER).badLines, 2u);
}

TEST_F(HiveRecoveryTest, TheDamageMessageShowsPrintableTextOnly) {
    // An escape sequence, a bell, a C1 control, a stray byte and a very long line.
    const std::string line = "\x1b]0;owned\a\x1b[31m\xC2\x9B\xFFred" + std::string(20000, 'x');
    WriteFile(registry_.UserHive(), "[K]\n" + line + "\n");
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(HasValue(u"K", u"x"));
    const std::string message = ::testing::internal::GetCapturedStderr();
    for (char c : message)
        EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n')
            << "control byte " << int(c) << " in: " << message;
    EXPECT_TRUE(text::IsValidUtf8(message));
    EXPECT_EQ(message.find("\xC2\x9B"), std::string::npos);
    EXPECT_LT(message.size(), 1000u);
    EXPECT_NE(message.find("?]0;owned??[31m??red"), std::string::npos) << message;
    const registry::HiveStatus status = registry::HiveStatusOf(HKEY_CURRENT_USER);
    EXPECT_EQ(status.damage.find('\x1b'), std::string::npos);
    EXPECT_LT(status.damage.size(), 200u);
}

TEST_F(HiveRecoveryTest, LeftoverTemporaryFilesOfTheHiveAreRemovedWhenItIsNextOpened) {
    ASSERT_EQ(SetDword(u"K", u"v", 1), ERROR_SUCCESS);
    // A writer killed between writing and renaming; one whose number is this process's own (a
    // reused process number); and files that are not this hive's temporary files.
    const std::string hive = registry_.UserHive();
    WriteFile(hive + ".tmp-99999999", "partial");
    WriteFile(hive + ".tmp-" + std::to_string(::getpid()), "partial");
    WriteFile(registry_.ClassesHive() + ".tmp-1", "the other hive's");
    WriteFile(registry_.Path() + "/notes.tmp-1", "someone else's");
    WriteFile(hive + ".tmp-", "no number");
    EXPECT_TRUE(HasValue(u"K", u"v"));
    EXPECT_EQ(FilesWith("HKEY_CURRENT_USER.reg.tmp-").size(), 1u);  // only the bare ".tmp-"
    EXPECT_EQ(FilesWith(".tmp-").size(), 3u);
    EXPECT_EQ(ReadFile(hive + ".tmp-"), "no number");
}

TEST_F(HiveRecoveryTest, AHiveThatCannotBeReadFailsEveryCallAndSaysWhy) {
    ASSERT_EQ(::mkdir(registry_.UserHive().c_str(), 0700), 0);  // a folder in the file's place
    ::testing::internal::CaptureStderr();
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"K", 0, KEY_READ, &key), ERROR_CANTREAD);
    EXPECT_EQ(SetDword(u"K", u"v", 1), ERROR_CANTREAD);
    const std::string message = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("cannot read the registry file " + registry_.UserHive()),
              std::string::npos)
        << message;
    registry::HiveStatus status = registry::HiveStatusOf(HKEY_CURRENT_USER);
    EXPECT_TRUE(status.unreadable);
    EXPECT_FALSE(status.damaged);
    EXPECT_NE(status.readError.find("directory"), std::string::npos) << status.readError;
    EXPECT_TRUE(std::filesystem::is_directory(registry_.UserHive()));  // left alone

    // Once the file can be read again, so can the hive.
    ASSERT_EQ(::rmdir(registry_.UserHive().c_str()), 0);
    EXPECT_EQ(SetDword(u"K", u"v", 1), ERROR_SUCCESS);
    status = registry::HiveStatusOf(HKEY_CURRENT_USER);
    EXPECT_FALSE(status.unreadable);
    EXPECT_TRUE(status.readError.empty());
}

TEST_F(HiveRecoveryTest, NamesOverTheWindowsLimitsAreRefusedWhenWritten) {
    HKEY key = nullptr;
    const std::u16string longest(kMaxKeyNameChars, u'k');
    const std::u16string tooLong(kMaxKeyNameChars + 1, u'k');
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (u"A\\" + tooLong + u"\\B").c_str(), 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(key, nullptr);
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (u"A\\" + longest).c_str(), 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD one = 1;
    const auto* data = reinterpret_cast<const BYTE*>(&one);
    const std::u16string longestValue(kMaxValueNameChars, u'v');
    const std::u16string tooLongValue(kMaxValueNameChars + 1, u'v');
    EXPECT_EQ(RegSetValueExW(key, tooLongValue.c_str(), 0, REG_DWORD, data, 4),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueExW(key, longestValue.c_str(), 0, REG_DWORD, data, 4), ERROR_SUCCESS);
    // The longest name fits the buffer of the documented size.
    std::vector<WCHAR> name(kMaxValueNameChars + 1);
    DWORD chars = static_cast<DWORD>(name.size());
    EXPECT_EQ(RegEnumValueW(key, 0, name.data(), &chars, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(chars, kMaxValueNameChars);
    EXPECT_EQ(RegEnumValueW(key, 1, name.data(), &chars, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

TEST_F(HiveRecoveryTest, NamesOverTheLimitsInTheFileAreReadAndEnumerated) {
    // An editor wrote names longer than the calls accept: they are still there to see.
    const std::string longKey(300, 'k');
    const std::string longValue(20000, 'v');
    WriteFile(registry_.UserHive(),
              "[R\\" + longKey + "]\n\"" + longValue + "\"=dword:1\n[R\\z]\n");
    HKEY root = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"R", 0, KEY_READ, &root), ERROR_SUCCESS);
    WCHAR small[256];
    DWORD chars = 256;
    EXPECT_EQ(RegEnumKeyExW(root, 0, small, &chars, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);
    EXPECT_EQ(chars, 301u);  // the size that fits it, terminator included
    chars = 256;
    EXPECT_EQ(RegEnumKeyExW(root, 1, small, &chars, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(small, chars), u"z");
    RegCloseKey(root);
    EXPECT_TRUE(FilesWith(".damaged-").empty());
}

}  // namespace
