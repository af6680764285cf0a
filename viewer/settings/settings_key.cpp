#include "viewer/settings/settings_key.h"

#include <cstring>
#include <memory>

#include "platform/base/utf16.h"
#include "viewer/settings/default_settings.h"
#include "viewer/settings/settings_schema.h"

namespace {

// The holder singleton.
std::unique_ptr<SettingsKeyHolder>& Holder() {
    static std::unique_ptr<SettingsKeyHolder> holder;
    return holder;
}

}  // namespace

SettingsKeyHolder* OpenSettingsKey() {
    std::unique_ptr<SettingsKeyHolder>& holder = Holder();
    if (holder) return holder.get();
    holder = std::make_unique<SettingsKeyHolder>();
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, kSettingsKeyAccess, &holder->key) ==
        ERROR_SUCCESS)
        return holder.get();
    if (SUCCEEDED(WriteDefaultSettings(holder.get()))) return holder.get();
    if (holder->key) RegCloseKey(holder->key);
    holder.reset();
    return nullptr;
}

void CloseSettingsKey() {
    std::unique_ptr<SettingsKeyHolder>& holder = Holder();
    if (!holder) return;
    if (holder->key) RegCloseKey(holder->key);
    holder.reset();
}

HRESULT WriteSettingById(SettingsKeyHolder* holder, const void* data, int id, DWORD byteCount) {
    const SettingInfo* info = FindSetting(id);
    if (!data || !info) return E_INVALIDARG;
    if (!holder || !holder->key) return E_FAIL;
    const DWORD type = info->type == SettingType::kString ? REG_SZ : REG_DWORD;
    return RegSetValueExW(holder->key, info->name, 0, type, static_cast<const BYTE*>(data),
                          byteCount) == ERROR_SUCCESS
               ? S_OK
               : E_FAIL;
}

HRESULT ReadSettingById(SettingsKeyHolder* holder, int id, void* buffer, DWORD* byteCount) {
    const SettingInfo* info = FindSetting(id);
    if (!info) return E_INVALIDARG;
    if (!holder || !holder->key || !byteCount) return E_FAIL;
    return RegQueryValueExW(holder->key, info->name, nullptr, nullptr, static_cast<BYTE*>(buffer),
                            byteCount) == ERROR_SUCCESS
               ? S_OK
               : E_FAIL;
}

bool ReadSettingString(SettingsKeyHolder* holder, LPCWSTR name, WCHAR* buffer, std::size_t units) {
    if (!buffer || units == 0) return false;
    std::memset(buffer, 0, units * sizeof(WCHAR));
    if (!holder || !holder->key) return false;
    // Room for the text but not the terminator: a value that fills the whole buffer is not read.
    DWORD size = static_cast<DWORD>((units - 1) * sizeof(WCHAR));
    DWORD type = 0;
    if (RegQueryValueExW(holder->key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        std::memset(buffer, 0, units * sizeof(WCHAR));
        return false;
    }
    return true;
}

bool ReadSettingDword(SettingsKeyHolder* holder, LPCWSTR name, DWORD* value) {
    if (!holder || !holder->key) return false;
    DWORD data = 0;
    DWORD size = sizeof data;
    DWORD type = 0;
    if (RegQueryValueExW(holder->key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof data)
        return false;
    *value = data;
    return true;
}

bool WriteSettingString(SettingsKeyHolder* holder, LPCWSTR name, LPCWSTR text) {
    if (!holder || !holder->key || !text) return false;
    const auto bytes = static_cast<DWORD>(utf16::Length(text) * sizeof(WCHAR));
    return RegSetValueExW(holder->key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          bytes) == ERROR_SUCCESS;
}

bool WriteSettingDword(SettingsKeyHolder* holder, LPCWSTR name, DWORD value) {
    if (!holder || !holder->key) return false;
    return RegSetValueExW(holder->key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
}
