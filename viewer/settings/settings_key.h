// The settings key HKEY_CURRENT_USER\Software\Corvane\Grabber\ and the process-wide holder of its
// open handle, with reads and writes of single values by name or by id. User-interface thread only.
#pragma once

#include <cstddef>

#include "platform/registry/registry.h"

inline constexpr LPCWSTR kSettingsKeyPath = u"Software\\Corvane\\Grabber\\";
// KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY
inline constexpr REGSAM kSettingsKeyAccess = 0x2001F;

// Holds the open settings key; `key` is null while no key is open.
struct SettingsKeyHolder {
    HKEY key = nullptr;
};

// The holder, created on the first call; the key is opened, or created with every first-run value.
// Null when the key can be neither opened nor created and initialised (the next call tries again).
// (The main window keeps an unreadable settings hive in memory, see registry/memory_hives.h, so
// that there the key opens with the first-run values.)
SettingsKeyHolder* OpenSettingsKey();

// Closes the key and drops the holder (the main window's Close).
void CloseSettingsKey();

// Writes value `id` (1 to 39) with the type of the schema. E_INVALIDARG for a null `data` or an id
// outside 1 to 39; E_FAIL when the holder has no key or the write fails.
HRESULT WriteSettingById(SettingsKeyHolder* holder, const void* data, int id, DWORD byteCount);

// Reads value `id` into `buffer` (size in *byteCount; on success the value's size). E_INVALIDARG
// for an id outside 1 to 39; E_FAIL when the holder has no key or the read fails.
HRESULT ReadSettingById(SettingsKeyHolder* holder, int id, void* buffer, DWORD* byteCount);

// Reads a REG_SZ value into `buffer` of `units` UTF-16 units. The buffer is zero-filled first; a
// value that is missing, of another type, or does not fit together with its terminator leaves
// it empty and returns false.
bool ReadSettingString(SettingsKeyHolder* holder, LPCWSTR name, WCHAR* buffer, std::size_t units);

// Reads a REG_DWORD value; false (and *value untouched) when it is missing or of another type.
bool ReadSettingDword(SettingsKeyHolder* holder, LPCWSTR name, DWORD* value);

// Store a REG_SZ value (byte count twice the characters, no terminator) or a REG_DWORD value.
bool WriteSettingString(SettingsKeyHolder* holder, LPCWSTR name, LPCWSTR text);
bool WriteSettingDword(SettingsKeyHolder* holder, LPCWSTR name, DWORD value);
