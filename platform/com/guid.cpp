#include "platform/com/guid.h"

#include <cstdio>

namespace guid {
namespace {

int HexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

template <typename Char>
std::optional<GUID> ParseChars(std::basic_string_view<Char> text) {
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return std::nullopt;
    std::uint8_t bytes[16];
    std::size_t pos = 1;
    for (int i = 0; i < 16; ++i) {
        if (pos == 9 || pos == 14 || pos == 19 || pos == 24) {
            if (text[pos] != '-') return std::nullopt;
            ++pos;
        }
        const int hi = HexValue(static_cast<char16_t>(text[pos]));
        const int lo = HexValue(static_cast<char16_t>(text[pos + 1]));
        if (hi < 0 || lo < 0) return std::nullopt;
        bytes[i] = static_cast<std::uint8_t>(hi * 16 + lo);
        pos += 2;
    }
    if (pos != 37) return std::nullopt;
    GUID g;
    g.Data1 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
              (std::uint32_t{bytes[2]} << 8) | bytes[3];
    g.Data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
    g.Data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i) g.Data4[i] = bytes[8 + i];
    return g;
}

}  // namespace

std::optional<GUID> Parse(std::string_view text) {
    return ParseChars(text);
}
std::optional<GUID> Parse(std::u16string_view text) {
    return ParseChars(text);
}

std::string ToString(REFGUID g) {
    char buf[39];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1],
                  g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return buf;
}

std::u16string ToWide(REFGUID g) {
    const std::string narrow = ToString(g);
    return std::u16string(narrow.begin(), narrow.end());
}

}  // namespace guid
