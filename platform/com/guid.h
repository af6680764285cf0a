// The 16-byte GUID with the standard layout, its text form and comparison.
#pragma once

#include <array>
#include <cstring>
#include <optional>
#include <string>

#include "platform/base/win_types.h"

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};
static_assert(sizeof(GUID) == 16);

using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

inline bool operator==(const GUID& a, const GUID& b) {
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}
inline bool operator!=(const GUID& a, const GUID& b) {
    return !(a == b);
}
inline bool IsEqualGUID(REFGUID a, REFGUID b) {
    return a == b;
}
inline bool operator<(const GUID& a, const GUID& b) {
    return std::memcmp(&a, &b, sizeof(GUID)) < 0;
}

inline constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

namespace guid {

// Parses "{33C3C615-8E30-4874-9C74-10880261C7E8}" (braces required, hex digits of either case).
std::optional<GUID> Parse(std::string_view text);
std::optional<GUID> Parse(std::u16string_view text);

// Formats as "{33C3C615-8E30-4874-9C74-10880261C7E8}" with upper-case digits.
std::string ToString(REFGUID g);
std::u16string ToWide(REFGUID g);

}  // namespace guid
