// UTF-16 text helpers: length, comparison and conversion to and from UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "platform/base/win_types.h"

namespace utf16 {

// Number of UTF-16 units before the terminating NUL.
std::size_t Length(LPCWSTR text);

// Copies at most `capacity - 1` units of `source` and always terminates (when capacity > 0).
// Returns false when the text had to be cut.
bool CopyTerminated(WCHAR* dest, std::size_t capacity, LPCWSTR source);

// UTF-8 to UTF-16; invalid sequences become U+FFFD.
std::u16string FromUtf8(std::string_view text);

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view text);

// ASCII-only case folding, as the registry compares key and value names.
bool EqualsIgnoreAsciiCase(std::u16string_view a, std::u16string_view b);

}  // namespace utf16
