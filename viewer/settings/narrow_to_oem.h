// Conversion of settings text to the locale's 8-bit character set for the mail client.
#pragma once

#include "platform/base/win_types.h"

inline constexpr std::size_t kNarrowBufferBytes = 512;

// Converts NUL-terminated UTF-16 `text` into `out` (kNarrowBufferBytes bytes) in the character
// set of the current locale (LC_CTYPE; UTF-8 on current systems). Characters the set cannot hold
// become '?'. Returns 0, leaving `out` untouched, when the converted text with its terminator
// needs more than kNarrowBufferBytes bytes; else 1.
int NarrowToOem(LPCWSTR text, char* out);

// The same into a named character set (as iconv names it).
int NarrowToCharset(LPCWSTR text, char* out, const char* charset);
