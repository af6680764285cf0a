#include "viewer/settings/channel_title.h"

#include <algorithm>
#include <cstring>

#include "platform/base/utf16.h"
#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"

LPCWSTR FirstRunChannelTitle(int index) {
    static constexpr LPCWSTR kTitles[4] = {u"Channel 1", u"Channel 2", u"Channel 3", u"Channel 4"};
    return index >= 0 && index < 4 ? kTitles[index] : u"";
}

bool ReadChannelTitle(SettingsKeyHolder* holder, int index, WCHAR* buffer, std::size_t units) {
    if (!buffer || units == 0) return false;
    std::memset(buffer, 0, units * sizeof(WCHAR));
    if (!holder || !holder->key || index < 0 || index >= 4) return false;
    if (ReadSettingString(holder, setting::kChannelName[index], buffer, units)) return true;
    const LPCWSTR fallback = FirstRunChannelTitle(index);
    const std::size_t length = std::min(utf16::Length(fallback), units - 1);
    std::memcpy(buffer, fallback, length * sizeof(WCHAR));
    return true;
}
