// The "Capture Device" setting: absent by default, read without creating the settings key.
#include "viewer/app/device_setting.h"

#include <gtest/gtest.h>

#include "platform/registry/registry.h"
#include "tests/support/temp_dir.h"
#include "viewer/settings/settings_key.h"

namespace {

void Store(const std::u16string& text, DWORD type = REG_SZ) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    if (type == REG_SZ) {
        ASSERT_EQ(RegSetValueExW(key, kCaptureDeviceValue, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>((text.size() + 1) * 2)),
                  ERROR_SUCCESS);
    } else {
        const DWORD number = 7;
        ASSERT_EQ(RegSetValueExW(key, kCaptureDeviceValue, 0, REG_DWORD,
                                 reinterpret_cast<const BYTE*>(&number), 4),
                  ERROR_SUCCESS);
    }
    RegCloseKey(key);
}

TEST(DeviceSettingTest, AbsentByDefaultAndReadOnlyAsANonEmptyString) {
    const testing_support::TempRegistry registry;
    EXPECT_FALSE(ReadCaptureDeviceSetting());
    HKEY key = nullptr;
    // The read did not create the settings key (first run still creates it with its values).
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);

    Store(u"/dev/video0,/dev/video1");
    EXPECT_EQ(ReadCaptureDeviceSetting(), "/dev/video0,/dev/video1");
    Store(u"");
    EXPECT_FALSE(ReadCaptureDeviceSetting());
    Store(u"", REG_DWORD);
    EXPECT_FALSE(ReadCaptureDeviceSetting());
}

}  // namespace
