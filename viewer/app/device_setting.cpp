#include "viewer/app/device_setting.h"

#include <vector>

#include "platform/base/utf16.h"
#include "platform/registry/registry.h"
#include "viewer/settings/settings_key.h"

std::optional<std::string> ReadCaptureDeviceSetting() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0;
    DWORD bytes = 0;
    std::optional<std::string> result;
    if (RegQueryValueExW(key, kCaptureDeviceValue, nullptr, &type, nullptr, &bytes) ==
            ERROR_SUCCESS &&
        type == REG_SZ && bytes >= 2) {
        std::vector<char16_t> text(bytes / 2 + 1, u'\0');
        if (RegQueryValueExW(key, kCaptureDeviceValue, nullptr, &type,
                             reinterpret_cast<BYTE*>(text.data()), &bytes) == ERROR_SUCCESS) {
            const std::u16string value(text.data());
            if (!value.empty()) result = utf16::ToUtf8(value);
        }
    }
    RegCloseKey(key);
    return result;
}
