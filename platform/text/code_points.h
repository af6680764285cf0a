// Walking UTF-16 text by Unicode code points.
#pragma once

#include "platform/base/win_types.h"

namespace gdi {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The code point that starts at text[*index] (with *index < count), moving *index past it. A
// surrogate without its partner reads as U+FFFD, so cut or damaged text still draws something.
inline char32_t NextCodePoint(const WCHAR* text, int count, int* index) {
    const char32_t unit = text[(*index)++];
    if (unit < 0xD800 || unit > 0xDFFF) return unit;
    if (unit <= 0xDBFF && *index < count) {
        const char32_t low = text[*index];
        if (low >= 0xDC00 && low <= 0xDFFF) {
            ++*index;
            return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    return kReplacementCharacter;
}

}  // namespace gdi
