#include "platform/registry/registry.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempRegistry;
using testing_support::WriteFile;

class RegistryTest : public ::testing::Test {
  protected:
    HKEY Create(LPCWSTR path, REGSAM access = KEY_ALL_ACCESS) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  access, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        return key;
    }
    static LONG SetString(HKEY key, LPCWSTR name, const std::u16string& text) {
        return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                              static_cast<DWORD>(text.size() * 2));
    }
    static LONG SetDword(HKEY key, LPCWSTR name, DWORD value) {
        return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    }
    static std::u16string GetString(HKEY key, LPCWSTR name) {
        std::vector<WCHAR> buffer(1024, 0);
        DWORD size = static_cast<DWORD>(buffer.size() * 2);
        DWORD type = 0;
        EXPECT_EQ(RegQueryValueExW(key, name, nullptr, &type,
                                   reinterpret_cast<BYTE*>(buffer.data()), &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(type, REG_SZ);
        return std::u16string(buffer.data(), size / 2);
    }

    TempRegistry registry_;
};

TEST_F(RegistryTest, ValuesRoundTripThroughTheFileWithTheirTypesAndSizes) {
    HKEY key = Create(u"Software\\Corvane\\Grabber\\");
    ASSERT_EQ(SetString(key, u"Channel I Name", u"Channel 1"), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, u"TV Format", 32), ERROR_SUCCESS);
    RegCloseKey(key);

    // A new handle reads what the file holds.
    HKEY again = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"software\\corvane\\GRABBER", 0, KEY_READ, &again),
              ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    ASSERT_EQ(RegQueryValueExW(again, u"channel i name", nullptr, &type, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 18u);  // twice the characters, no terminator
    EXPECT_EQ(GetString(again, u"Channel I Name"), u"Channel 1");
    DWORD value = 0;
    size = 4;
    ASSERT_EQ(RegQueryValueExW(again, u"TV Format", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                               &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(value, 32u);
    EXPECT_EQ(RegQueryValueExW(again, u"Missing", nullptr, nullptr, nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);
    RegCloseKey(again);

    const std::string text = ReadFile(registry_.UserHive());
    EXPECT_NE(text.find("[Software\\Corvane\\Grabber]"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Channel I Name\"=sz:\"Channel 1\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"TV Format\"=dword:32"), std::string::npos) << text;
    struct stat st {};
    ASSERT_EQ(::stat(registry_.UserHive().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(RegistryTest, TooSmallBufferFailsWithMoreDataAndLeavesItAlone) {
    HKEY key = Create(u"K");
    ASSERT_EQ(SetString(key, u"v", u"abcd"), ERROR_SUCCESS);
    WCHAR buffer[4] = {u'x', u'x', u'x', u'x'};
    DWORD size = 6;
    EXPECT_EQ(RegQueryValueExW(key, u"v", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(buffer[0], u'x');
    size = 8;
    EXPECT_EQ(RegQueryValueExW(key, u"v", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(buffer, 4), u"abcd");
    RegCloseKey(key);
}

TEST_F(RegistryTest, TextWithAwkwardCharactersSurvivesTheFile) {
    const std::u16string awkward = std::u16string(u"q\"uo\\te\nline\ttab \u901a\u9053 ") +
                                   char16_t(0) + u"nul" + char16_t(0xD800) + u"lone" +
                                   std::u16string(u"\U0001F600");
    HKEY key = Create(u"Odd\\Names");
    ASSERT_EQ(SetString(key, u"with \"quotes\" and \\", awkward), ERROR_SUCCESS);
    ASSERT_EQ(SetString(key, nullptr, u"default"), ERROR_SUCCESS);
    RegCloseKey(key);
    key = Create(u"Odd\\Names");
    EXPECT_EQ(GetString(key, u"with \"quotes\" and \\"), awkward);
    EXPECT_EQ(GetString(key, u""), u"default");
    RegCloseKey(key);
}

TEST_F(RegistryTest, HandlesRespectAccessAndCannotBeUsedAfterClose) {
    HKEY key = Create(u"K");
    ASSERT_EQ(SetDword(key, u"n", 1), ERROR_SUCCESS);
    RegCloseKey(key);
    HKEY readOnly = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"K", 0, KEY_READ, &readOnly), ERROR_SUCCESS);
    EXPECT_EQ(SetDword(readOnly, u"n", 2), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegCloseKey(readOnly), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(readOnly), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetDword(readOnly, u"n", 2), ERROR_INVALID_HANDLE);
    HKEY missing = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"No\\Such", 0, KEY_READ, &missing),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(missing, nullptr);
}

TEST_F(RegistryTest, KeysEnumerateAndDeleteLikeTheWindowsCalls) {
    RegCloseKey(Create(u"Root\\B"));
    RegCloseKey(Create(u"Root\\A\\Deep"));
    RegCloseKey(Create(u"Root A"));  // sorts between "Root" and "Root\..."
    HKEY root = Create(u"Root");
    std::vector<std::u16string> names;
    for (DWORD i = 0;; ++i) {
        WCHAR name[64];
        DWORD chars = 64;
        if (RegEnumKeyExW(root, i, name, &chars, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.emplace_back(name, chars);
    }
    EXPECT_EQ(names, (std::vector<std::u16string>{u"A", u"B"}));

    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"Root\\A"), ERROR_ACCESS_DENIED);  // has sub-keys
    EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, u"Root"), ERROR_SUCCESS);
    HKEY gone = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Root\\A\\Deep", 0, KEY_READ, &gone),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Root A", 0, KEY_READ, &gone), ERROR_SUCCESS);
    RegCloseKey(gone);
    // The open handle of a deleted key says so.
    EXPECT_EQ(SetDword(root, u"x", 1), ERROR_KEY_DELETED);
    RegCloseKey(root);
}

TEST_F(RegistryTest, WriteThatFailsMidwayLeavesThePreviousFileIntact) {
    HKEY key = Create(u"K");
    ASSERT_EQ(SetString(key, u"kept", u"old value"), ERROR_SUCCESS);
    const std::string before = ReadFile(registry_.UserHive());

    // In a child process whose files may not grow past 1000 bytes, store a value far larger.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const std::u16string big(20000, u'x');
        const LONG rc = SetString(key, u"big", big);
        ::_exit(rc == ERROR_CANTWRITE ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed write was not reported as ERROR_CANTWRITE";
    EXPECT_EQ(ReadFile(registry_.UserHive()), before);
    for (const auto& entry : std::filesystem::directory_iterator(registry_.Path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos)
            << "temporary file left behind: " << entry.path();
    EXPECT_EQ(GetString(key, u"kept"), u"old value");
    RegCloseKey(key);
}

TEST_F(RegistryTest, TwoProcessesWritingTheSameHiveLoseNothing) {
    RegCloseKey(Create(u"Shared"));
    constexpr int kWrites = 40;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            HKEY key = nullptr;
            if (RegOpenKeyExW(HKEY_CURRENT_USER, u"Shared", 0, KEY_ALL_ACCESS, &key) != 0)
                ::_exit(2);
            for (int i = 0; i < kWrites; ++i) {
                const std::string name = "p" + std::to_string(c) + "-" + std::to_string(i);
                const std::u16string wide(name.begin(), name.end());
                if (SetDword(key, wide.c_str(), static_cast<DWORD>(i)) != ERROR_SUCCESS) ::_exit(1);
            }
            ::_exit(0);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    HKEY key = Create(u"Shared");
    DWORD count = 0;
    for (;; ++count) {
        WCHAR name[32];
        DWORD chars = 32;
        if (RegEnumValueW(key, count, name, &chars, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
    }
    EXPECT_EQ(count, 2u * kWrites);
    RegCloseKey(key);
}

}  // namespace
