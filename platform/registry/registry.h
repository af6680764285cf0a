// The registry: hives HKEY_CURRENT_USER and HKEY_CLASSES_ROOT, keys, REG_SZ and REG_DWORD values,
// and calls shaped like the Win32 registry API with its error codes.
//
// Each hive is one text file (see hive_file.h) under $QUADREL_REGISTRY_DIR, or else
// $XDG_CONFIG_HOME/quadrel (~/.config/quadrel). Every call reads the file afresh under a lock and
// every change is written through a temporary file, fsync and rename, so two processes sharing a
// hive see each other's values and a crash leaves either the old file or the new one.
// The calls are thread-safe.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/base/win_types.h"

struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;

#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000000u)))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001u)))

inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_NOTIFY = 0x0010;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_WRITE = 0x20006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;

inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

inline constexpr LONG ERROR_KEY_DELETED = 1018;

// The limits of names that can be written: each part of a key path at most 255 characters, a
// value name at most 16,383. A hive's file may hold longer ones (written by an editor); they are
// read, listed and enumerated all the same.
inline constexpr std::size_t kMaxKeyNameChars = 255;
inline constexpr std::size_t kMaxValueNameChars = 16383;

// Opens an existing key. ERROR_FILE_NOT_FOUND when it does not exist.
LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);

// Opens or creates a key (and the keys above it). `disposition` (may be null) tells which.
// ERROR_INVALID_PARAMETER when a part of the path is longer than kMaxKeyNameChars.
LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
                     REGSAM access, const void* security, PHKEY result, LPDWORD disposition);

// Stores a value of `type` with exactly `byteCount` bytes (REG_SZ: UTF-16 units; REG_DWORD: 4).
// The handle needs KEY_SET_VALUE (ERROR_ACCESS_DENIED else); a name longer than
// kMaxValueNameChars fails with ERROR_INVALID_PARAMETER.
LONG RegSetValueExW(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD byteCount);

// Reads a value. `type`, `data` and `byteCount` may each be null. With data, *byteCount is the
// buffer size on entry; a value larger than it fails with ERROR_MORE_DATA and the buffer is left
// unchanged. On return *byteCount holds the value's size. ERROR_FILE_NOT_FOUND when missing.
LONG RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                      LPDWORD byteCount);

LONG RegDeleteValueW(HKEY key, LPCWSTR name);

// Deletes a key that has no sub-keys (ERROR_ACCESS_DENIED when it has some).
LONG RegDeleteKeyW(HKEY key, LPCWSTR subKey);

// Deletes a key with everything below it.
LONG RegDeleteTreeW(HKEY key, LPCWSTR subKey);

// The sub-key, or value, at `index` in the key's order; ERROR_NO_MORE_ITEMS past the end.
// `nameChars` is the name buffer's size in units on entry and the name's length on return.
LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameChars, LPDWORD reserved,
                   LPWSTR keyClass, LPDWORD classChars, void* lastWriteTime);
LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameChars, LPDWORD reserved,
                   LPDWORD type, LPBYTE data, LPDWORD byteCount);

LONG RegCloseKey(HKEY key);
