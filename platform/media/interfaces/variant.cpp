#include "platform/media/interfaces/variant.h"

#include <cstring>

#include "platform/base/utf16.h"
#include "platform/com/runtime.h"

namespace {
constexpr std::size_t kPrefix = sizeof(std::uint32_t);
}

BSTR SysAllocStringLen(LPCWSTR text, UINT length) {
    const std::size_t bytes = static_cast<std::size_t>(length) * sizeof(WCHAR);
    auto* block = static_cast<BYTE*>(CoTaskMemAlloc(kPrefix + bytes + sizeof(WCHAR)));
    if (!block) return nullptr;
    const auto prefix = static_cast<std::uint32_t>(bytes);
    std::memcpy(block, &prefix, kPrefix);
    auto* chars = reinterpret_cast<WCHAR*>(block + kPrefix);
    if (text)
        std::memcpy(chars, text, bytes);
    else
        std::memset(chars, 0, bytes);
    chars[length] = 0;
    return chars;
}

BSTR SysAllocString(LPCWSTR text) {
    if (!text) return nullptr;
    return SysAllocStringLen(text, static_cast<UINT>(utf16::Length(text)));
}

void SysFreeString(BSTR text) {
    if (text) CoTaskMemFree(reinterpret_cast<BYTE*>(text) - kPrefix);
}

UINT SysStringLen(BSTR text) {
    if (!text) return 0;
    std::uint32_t bytes = 0;
    std::memcpy(&bytes, reinterpret_cast<const BYTE*>(text) - kPrefix, kPrefix);
    return bytes / sizeof(WCHAR);
}

void VariantInit(VARIANT* value) {
    if (!value) return;
    std::memset(value, 0, sizeof(*value));
    value->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANT* value) {
    if (!value) return E_POINTER;
    if (value->vt == VT_BSTR) SysFreeString(value->bstrVal);
    VariantInit(value);
    return S_OK;
}
