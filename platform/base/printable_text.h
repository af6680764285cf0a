// Text from outside (file contents, command-line arguments) made safe to show in a message: only
// whole, valid UTF-8 characters that are not control characters, and a bounded number of them,
// so that bytes of a damaged file neither flood the terminal nor send it escape sequences.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

// The length in bytes of the valid UTF-8 character at text[pos] (1 to 4), or 0 when the bytes
// there are not one (a stray continuation byte, an overlong form, a surrogate, past U+10FFFF, or
// a sequence cut short by the end of `text`). pos < text.size().
std::size_t Utf8CharLength(std::string_view text, std::size_t pos);

// True when all of `text` is valid UTF-8.
bool IsValidUtf8(std::string_view text);

// At most this many characters of outside text are shown in a message by default.
inline constexpr std::size_t kShownChars = 60;

// `text` with every control character (below U+0020, U+007F to U+009F) and every byte that is
// not part of a valid UTF-8 character shown as '?', cut after `maxChars` characters with "...".
std::string Printable(std::string_view text, std::size_t maxChars = kShownChars);

// Printable(text) in double quotes.
std::string QuotedPrintable(std::string_view text, std::size_t maxChars = kShownChars);

}  // namespace text
