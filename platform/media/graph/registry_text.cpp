#include "platform/media/graph/registry_text.h"

#include <vector>

namespace media {

std::optional<std::u16string> ReadText(HKEY key, LPCWSTR name) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    std::vector<WCHAR> buffer(bytes / sizeof(WCHAR) + 1, 0);
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(WCHAR));
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::u16string text(buffer.data(), size / sizeof(WCHAR));
    while (!text.empty() && text.back() == 0) text.pop_back();
    return text;
}

LONG WriteText(HKEY key, LPCWSTR name, const std::u16string& text) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(WCHAR)));
}

LONG WriteNumber(HKEY key, LPCWSTR name, DWORD value) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof(value));
}

std::u16string InstanceKeyPath(REFCLSID category) {
    return u"CLSID\\" + guid::ToWide(category) + u"\\Instance";
}

}  // namespace media
