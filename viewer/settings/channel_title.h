// The title of a channel as the viewer uses it: the stored "Channel I Name" to "Channel IV Name",
// or the first-run title when the stored value cannot be used.
#pragma once

#include <cstddef>

#include "platform/base/win_types.h"

struct SettingsKeyHolder;

// A channel title read into a buffer of this many UTF-16 units (512 bytes) has its terminator.
inline constexpr std::size_t kChannelTitleReadUnits = 256;

// The first-run title of channel `index` (0 to 3): "Channel 1" to "Channel 4".
LPCWSTR FirstRunChannelTitle(int index);

// The title of channel `index` (0 to 3) into `buffer` (`units` units, zero-filled first): the
// stored text, or, when the value is missing, of another type or longer than the buffer, the
// first-run title, so that one bad value takes no title away. False, with an empty buffer, only
// without the settings key or for an index outside 0 to 3.
bool ReadChannelTitle(SettingsKeyHolder* holder, int index, WCHAR* buffer, std::size_t units);
