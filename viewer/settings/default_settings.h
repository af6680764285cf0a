// First-run values of the settings key and the choice of the default save folders.
#pragma once

#include "platform/base/win_types.h"
#include "platform/storage/disk_space.h"

struct SettingsKeyHolder;

// Length of the path buffer ChooseDefaultSavePath fills, in UTF-16 units.
inline constexpr std::size_t kSavePathUnits = 256;

// The result of a path that does not fit its buffer.
inline constexpr HRESULT STRSAFE_E_INSUFFICIENT_BUFFER = static_cast<HRESULT>(0x8007007Au);

// Opens (or creates) the key into `holder` and writes all 39 first-run values in their fixed
// order. The first failing step ends it with its error (E_FAIL for a failed write); the values
// written before it stay.
HRESULT WriteDefaultSettings(SettingsKeyHolder* holder,
                             const storage::DiskSpace& disks = storage::DiskSpace::System());

// The candidate folder with the most bytes free to the user (the earlier one on a tie), followed
// by `subfolder` (e.g. "Record/"), into `path` (kSavePathUnits units). Creates nothing.
// E_FAIL, with no path written, when a candidate's free space cannot be queried;
// STRSAFE_E_INSUFFICIENT_BUFFER when the path does not fit.
HRESULT ChooseDefaultSavePath(LPCWSTR subfolder, WCHAR* path,
                              const storage::DiskSpace& disks = storage::DiskSpace::System());
