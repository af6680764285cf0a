// Outside text (an argument, a line of a file) as it may appear in a message.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace text_safety {

// At most this many characters of outside text are shown in a message by default.
inline constexpr std::size_t kShownChars = 60;

// `text` with control characters and bytes that are not UTF-8 shown as '?', cut after
// `maxChars` characters with "...", so that a long or binary text neither floods the terminal
// nor sends it escape sequences.
std::string Printable(std::string_view text, std::size_t maxChars = kShownChars);

// Printable(text) in double quotes.
std::string QuotedPrintable(std::string_view text, std::size_t maxChars = kShownChars);

}  // namespace text_safety
