#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/base/utf16.h"
#include "tests/viewer/settings/settings_fixture.h"
#include "viewer/settings/channel_title.h"
#include "viewer/settings/default_settings.h"
#include "viewer/settings/settings_schema.h"

namespace {

struct Stored {
    std::u16string name;
    DWORD type;
    std::u16string text;
    DWORD number;
};

std::vector<Stored> AllValues(HKEY key) {
    std::vector<Stored> values;
    for (DWORD i = 0;; ++i) {
        WCHAR name[256];
        DWORD chars = 256;
        BYTE data[1024] = {};
        DWORD size = sizeof data;
        DWORD type = 0;
        if (RegEnumValueW(key, i, name, &chars, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        Stored v{std::u16string(name, chars), type, {}, 0};
        if (type == REG_SZ) v.text.assign(reinterpret_cast<const WCHAR*>(data), size / 2);
        if (type == REG_DWORD) std::memcpy(&v.number, data, 4);
        values.push_back(v);
    }
    return values;
}

TEST_F(SettingsTest, FirstOpenWritesExactlyTheThirtyNineFirstRunValuesInOrder) {
    SettingsKeyHolder* holder = Open();
    ASSERT_NE(holder, nullptr);
    const std::vector<Stored> values = AllValues(holder->key);

    WCHAR record[kSavePathUnits], picture[kSavePathUnits];
    ASSERT_EQ(ChooseDefaultSavePath(u"Record/", record), S_OK);
    ASSERT_EQ(ChooseDefaultSavePath(u"Picture/", picture), S_OK);
    const std::vector<std::pair<std::u16string, std::u16string>> expected = {
        {u"Channel I Name", u"sz:Channel 1"},
        {u"Channel II Name", u"sz:Channel 2"},
        {u"Channel III Name", u"sz:Channel 3"},
        {u"Channel IV Name", u"sz:Channel 4"},
        {u"Channel I Enable", u"1"},
        {u"Channel II Enable", u"1"},
        {u"Channel III Enable", u"1"},
        {u"Channel IV Enable", u"1"},
        {u"Channel Control Mode", u"2"},
        {u"Channel Turn Span", u"1"},
        {u"Channel Fast Turn", u"1"},
        {u"Save File Path", u"sz:" + std::u16string(record)},
        {u"Save File Count", u"8"},
        {u"Save File Width", u"320"},
        {u"Save File Height", u"240"},
        {u"User Mode I", u"sz:Admin"},
        {u"User Mode II", u"sz:"},
        {u"Login Timeout", u"900"},
        {u"Login Timeout Flag", u"1"},
        {u"Signal Lose Alarm", u"2"},
        {u"Motion Detect Alarm", u"2"},
        {u"SMTP Server", u"sz:"},
        {u"SMTP Server Auth", u"0"},
        {u"Mail Src", u"sz:plomtek"},
        {u"Mail", u"sz:plomtek"},
        {u"Mail Dst", u"sz:"},
        {u"Mail Title", u"sz:Alarm"},
        {u"Schedule snap start", u"sz:2011-05-22"},
        {u"Schedule snap end", u"sz:2011-05-22"},
        {u"Snap save path", u"sz:" + std::u16string(picture)},
        {u"Schedule snap span", u"300"},
        {u"Schedule snap mode", u"1"},
        {u"Snap save path from", u"1"},
        {u"Mail From Addr", u"sz:plomtek"},
        {u"Mail From Name", u"sz:plomtek"},
        {u"TV Format", u"32"},
        {u"First Run", u"0"},
        {u"Save Resolution", u"0"},
        {u"Fast Turning", u"0"},
    };
    ASSERT_EQ(values.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(values[i].name, expected[i].first) << i;
        const std::u16string shown = values[i].type == REG_SZ
                                         ? u"sz:" + values[i].text
                                         : utf16::FromUtf8(std::to_string(values[i].number));
        EXPECT_EQ(values[i].type == REG_SZ || values[i].type == REG_DWORD, true);
        EXPECT_EQ(utf16::ToUtf8(shown), utf16::ToUtf8(expected[i].second))
            << utf16::ToUtf8(expected[i].first);
    }
    EXPECT_EQ(utf16::ToUtf8(record).find("/Record/"), utf16::ToUtf8(record).size() - 8);
    // The holder is a singleton until closed.
    EXPECT_EQ(OpenSettingsKey(), holder);
}

TEST_F(SettingsTest, ValuesByIdCheckTheirArguments) {
    SettingsKeyHolder* holder = Open();
    const DWORD two = 2;
    EXPECT_EQ(WriteSettingById(holder, &two, 0, 4), E_INVALIDARG);
    EXPECT_EQ(WriteSettingById(holder, &two, 40, 4), E_INVALIDARG);
    EXPECT_EQ(WriteSettingById(holder, nullptr, 9, 4), E_INVALIDARG);
    SettingsKeyHolder empty;
    EXPECT_EQ(WriteSettingById(&empty, &two, 9, 4), E_FAIL);

    const std::u16string name = u"Gate";
    ASSERT_EQ(WriteSettingById(holder, name.c_str(), 1, 8), S_OK);
    WCHAR buffer[256] = {};
    DWORD size = sizeof buffer;
    ASSERT_EQ(ReadSettingById(holder, 1, buffer, &size), S_OK);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(std::u16string(buffer), u"Gate");
    EXPECT_EQ(ReadSettingById(holder, 40, buffer, &size), E_INVALIDARG);
    // The type comes from the schema: id 9 is a number.
    ASSERT_EQ(WriteSettingById(holder, &two, 9, 4), S_OK);
    DWORD mode = 0;
    ASSERT_TRUE(ReadSettingDword(holder, u"Channel Control Mode", &mode));
    EXPECT_EQ(mode, 2u);
    EXPECT_EQ(WriteSettingById(holder, &two, 9, 3), E_FAIL) << "a number is four bytes";
}

TEST_F(SettingsTest, StringsFitWithTheirTerminatorOrAreNotRead) {
    SettingsKeyHolder* holder = Open();
    const std::u16string fits(255, u'a'), tooLong(256, u'b');
    ASSERT_TRUE(WriteSettingString(holder, u"Mail Dst", fits.c_str()));
    ASSERT_TRUE(WriteSettingString(holder, u"Mail Title", tooLong.c_str()));
    WCHAR buffer[256];
    EXPECT_TRUE(ReadSettingString(holder, u"Mail Dst", buffer, 256));
    EXPECT_EQ(std::u16string(buffer), fits);
    EXPECT_FALSE(ReadSettingString(holder, u"Mail Title", buffer, 256));
    EXPECT_EQ(buffer[0], 0);
    // A number stored under a text name is not read as text.
    ASSERT_TRUE(WriteSettingDword(holder, u"Mail From Name", 0x41414141));
    EXPECT_FALSE(ReadSettingString(holder, u"Mail From Name", buffer, 256));
    EXPECT_EQ(buffer[0], 0);
}

TEST_F(SettingsTest, AChannelTitleThatCannotBeUsedIsTheFirstRunTitle) {
    SettingsKeyHolder* holder = Open();
    ASSERT_TRUE(WriteSettingString(holder, setting::kChannelName[0], u"前门"));
    ASSERT_TRUE(WriteSettingDword(holder, setting::kChannelName[1], 7));  // of the wrong type
    const std::u16string tooLong(300, u't');
    ASSERT_TRUE(WriteSettingString(holder, setting::kChannelName[2], tooLong.c_str()));
    ASSERT_EQ(RegDeleteValueW(holder->key, setting::kChannelName[3]), ERROR_SUCCESS);
    WCHAR title[kChannelTitleReadUnits];
    const std::u16string expected[4] = {u"前门", u"Channel 2", u"Channel 3", u"Channel 4"};
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(ReadChannelTitle(holder, k, title, kChannelTitleReadUnits)) << k;
        EXPECT_EQ(std::u16string(title), expected[k]) << k;
    }
    // A buffer shorter than the first-run title gets as much as fits, terminated.
    WCHAR small[4];
    EXPECT_TRUE(ReadChannelTitle(holder, 1, small, 4));
    EXPECT_EQ(std::u16string(small), u"Cha");
    EXPECT_FALSE(ReadChannelTitle(holder, 4, title, kChannelTitleReadUnits));
    EXPECT_FALSE(ReadChannelTitle(nullptr, 0, title, kChannelTitleReadUnits));
    EXPECT_EQ(title[0], 0);
}

TEST_F(SettingsTest, KeyThatCannotBeMadeGivesNoHolderAndTheNextCallTriesAgain) {
    {
        // A registry folder below a plain file cannot be created.
        testing_support::TempDir dir;
        testing_support::WriteFile(dir.File("plain"), "x");
        testing_support::ScopedEnv env("QUADREL_REGISTRY_DIR", dir.File("plain/registry"));
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(OpenSettingsKey(), nullptr);
        EXPECT_EQ(OpenSettingsKey(), nullptr);
        ::testing::internal::GetCapturedStderr();
    }
    EXPECT_NE(OpenSettingsKey(), nullptr);
}

// A disk list whose second candidate cannot be queried.
class FailingDisks final : public storage::DiskSpace {
  public:
    std::vector<std::string> SaveFolderCandidates() const override { return {"/a", "/b"}; }
    bool FreeBytesForUser(const std::string& folder, std::uint64_t* bytes) const override {
        *bytes = 1;
        return folder == "/a";
    }
};

TEST_F(SettingsTest, FirstRunStoppedHalfWayKeepsWhatItWroteAndTheKeyOpensLater) {
    SettingsKeyHolder holder;
    EXPECT_EQ(WriteDefaultSettings(&holder, FailingDisks()), E_FAIL);
    ASSERT_NE(holder.key, nullptr);
    const std::vector<Stored> values = AllValues(holder.key);
    ASSERT_EQ(values.size(), 11u);  // everything before "Save File Path"
    EXPECT_EQ(values.back().name, u"Channel Fast Turn");
    RegCloseKey(holder.key);

    // The key exists now: opening it writes nothing more, and readers fall back.
    SettingsKeyHolder* opened = Open();
    EXPECT_EQ(AllValues(opened->key).size(), 11u);
}

}  // namespace
