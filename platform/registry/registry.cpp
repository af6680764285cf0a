#include "platform/registry/registry.h"

#include <cstring>
#include <map>
#include <mutex>
#include <optional>

#include "platform/base/utf16.h"
#include "platform/registry/hive_file.h"

namespace {

enum class HiveId { kClassesRoot, kCurrentUser };

struct OpenKey {
    HiveId hive;
    std::u16string path;  // normalised
    REGSAM access;
};

// The table of open key handles. Handles are small numbers, so a handle closed twice or never
// opened is answered with ERROR_INVALID_HANDLE instead of touching freed memory.
class HandleTable {
  public:
    HKEY Add(OpenKey key) {
        std::lock_guard lock(mutex_);
        const std::uintptr_t id = next_++;
        keys_.emplace(id, std::move(key));
        return reinterpret_cast<HKEY>(id);
    }
    std::optional<OpenKey> Find(HKEY key) {
        const auto id = reinterpret_cast<std::uintptr_t>(key);
        if (key == HKEY_CLASSES_ROOT) return OpenKey{HiveId::kClassesRoot, u"", KEY_ALL_ACCESS};
        if (key == HKEY_CURRENT_USER) return OpenKey{HiveId::kCurrentUser, u"", KEY_ALL_ACCESS};
        std::lock_guard lock(mutex_);
        auto it = keys_.find(id);
        if (it == keys_.end()) return std::nullopt;
        return it->second;
    }
    bool Remove(HKEY key) {
        std::lock_guard lock(mutex_);
        return keys_.erase(reinterpret_cast<std::uintptr_t>(key)) == 1;
    }

  private:
    std::mutex mutex_;
    std::uintptr_t next_ = 0x100;
    std::map<std::uintptr_t, OpenKey> keys_;
};

HandleTable& Handles() {
    static HandleTable table;
    return table;
}

registry::HiveFile FileOf(HiveId hive) {
    const char* title =
        hive == HiveId::kCurrentUser ? registry::kCurrentUserTitle : registry::kClassesRootTitle;
    return registry::HiveFile(registry::HivePath(title), title);
}

std::u16string_view ViewOf(LPCWSTR text) {
    return text ? std::u16string_view(text) : std::u16string_view();
}

bool ValidKeyName(std::u16string_view path) {
    for (char16_t c : path)
        if (c < 0x20 || (c >= 0xD800 && c <= 0xDFFF)) return false;
    return path.size() <= 32767;
}

// Every part of a normalised path is short enough to be created.
bool CreatableKeyName(std::u16string_view path) {
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(u'\\', start);
        if (end == std::u16string_view::npos) end = path.size();
        if (end - start > kMaxKeyNameChars) return false;
        start = end + 1;
    }
    return true;
}

LONG OpenOrCreate(HKEY parent, LPCWSTR subKey, REGSAM access, bool create, PHKEY result,
                  LPDWORD disposition) {
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    const std::optional<OpenKey> base = Handles().Find(parent);
    if (!base) return ERROR_INVALID_HANDLE;
    const std::u16string path = registry::JoinPath(base->path, ViewOf(subKey));
    if (!ValidKeyName(path)) return ERROR_INVALID_PARAMETER;
    if (create && !CreatableKeyName(path)) return ERROR_INVALID_PARAMETER;
    if (create && !(base->access & KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
    std::u16string storedPath = path;
    bool created = false;
    const LONG rc = FileOf(base->hive).Transact([&](registry::Hive& hive, bool* changed) {
        if (registry::Key* key = hive.Find(path)) {
            storedPath = key->path;
            return ERROR_SUCCESS;
        }
        if (!create) return ERROR_FILE_NOT_FOUND;
        storedPath = hive.Create(path, &created).path;
        *changed = true;
        return ERROR_SUCCESS;
    });
    if (rc != ERROR_SUCCESS) return rc;
    if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *result = Handles().Add(OpenKey{base->hive, storedPath, access});
    return ERROR_SUCCESS;
}

}  // namespace

LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD /*options*/, REGSAM access, PHKEY result) {
    return OpenOrCreate(key, subKey, access, false, result, nullptr);
}

LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD /*reserved*/, LPWSTR /*keyClass*/,
                     DWORD /*options*/, REGSAM access, const void* /*security*/, PHKEY result,
                     LPDWORD disposition) {
    return OpenOrCreate(key, subKey, access, true, result, disposition);
}

LONG RegSetValueExW(HKEY key, LPCWSTR name, DWORD /*reserved*/, DWORD type, const BYTE* data,
                    DWORD byteCount) {
    const std::optional<OpenKey> open = Handles().Find(key);
    if (!open) return ERROR_INVALID_HANDLE;
    if (!(open->access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    if (byteCount > 0 && !data) return ERROR_INVALID_PARAMETER;
    if (type == REG_DWORD && byteCount != 4) return ERROR_INVALID_PARAMETER;
    if (ViewOf(name).size() > kMaxValueNameChars) return ERROR_INVALID_PARAMETER;
    std::vector<BYTE> bytes(data, data + byteCount);
    return FileOf(open->hive).Transact([&](registry::Hive& hive, bool* changed) {
        registry::Key* k = hive.Find(open->path);
        if (!k) return ERROR_KEY_DELETED;
        k->SetValue(ViewOf(name), type, std::move(bytes));
        *changed = true;
        return ERROR_SUCCESS;
    });
}

LONG RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD /*reserved*/, LPDWORD type, LPBYTE data,
                      LPDWORD byteCount) {
    const std::optional<OpenKey> open = Handles().Find(key);
    if (!open) return ERROR_INVALID_HANDLE;
    if (!(open->access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
    if (data && !byteCount) return ERROR_INVALID_PARAMETER;
    return FileOf(open->hive).Transact([&](registry::Hive& hive, bool*) {
        const registry::Key* k = hive.Find(open->path);
        if (!k) return ERROR_KEY_DELETED;
        const registry::Value* v = k->FindValue(ViewOf(name));
        if (!v) return ERROR_FILE_NOT_FOUND;
        if (type) *type = v->type;
        const auto size = static_cast<DWORD>(v->data.size());
        LONG rc = ERROR_SUCCESS;
        if (data) {
            if (*byteCount < size)
                rc = ERROR_MORE_DATA;
            else if (size > 0)
                std::memcpy(data, v->data.data(), size);
        }
        if (byteCount) *byteCount = size;
        return rc;
    });
}

LONG RegDeleteValueW(HKEY key, LPCWSTR name) {
    const std::optional<OpenKey> open = Handles().Find(key);
    if (!open) return ERROR_INVALID_HANDLE;
    if (!(open->access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    return FileOf(open->hive).Transact([&](registry::Hive& hive, bool* changed) {
        registry::Key* k = hive.Find(open->path);
        if (!k) return ERROR_KEY_DELETED;
        if (!k->RemoveValue(ViewOf(name))) return ERROR_FILE_NOT_FOUND;
        *changed = true;
        return ERROR_SUCCESS;
    });
}

namespace {

LONG DeleteKey(HKEY key, LPCWSTR subKey, bool tree) {
    const std::optional<OpenKey> open = Handles().Find(key);
    if (!open) return ERROR_INVALID_HANDLE;
    const std::u16string path = registry::JoinPath(open->path, ViewOf(subKey));
    if (path.empty() && !tree) return ERROR_ACCESS_DENIED;  // a hive root is never deleted
    return FileOf(open->hive).Transact([&](registry::Hive& hive, bool* changed) {
        if (!hive.Find(path)) return ERROR_FILE_NOT_FOUND;
        if (!tree && !hive.SubKeyNames(path).empty()) return ERROR_ACCESS_DENIED;
        if (path.empty()) {
            hive = registry::Hive();
        } else {
            hive.RemoveTree(path);
        }
        *changed = true;
        return ERROR_SUCCESS;
    });
}

LONG CopyName(std::u16string_view name, LPWSTR out, LPDWORD chars) {
    if (!out || !chars) return ERROR_INVALID_PARAMETER;
    if (*chars < name.size() + 1) {
        *chars = static_cast<DWORD>(name.size() + 1);
        return ERROR_MORE_DATA;
    }
    std::memcpy(out, name.data(), name.size() * sizeof(WCHAR));
    out[name.size()] = 0;
    *chars = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

}  // namespace

LONG RegDeleteKeyW(HKEY key, LPCWSTR subKey) {
    return DeleteKey(key, subKey, false);
}
LONG RegDeleteTreeW(HKEY key, LPCWSTR subKey) {
    return DeleteKey(key, subKey, true);
}

LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameChars, LPDWORD /*reserved*/,
                   LPWSTR /*keyClass*/, LPDWORD /*classChars*/, void* /*lastWriteTime*/) {
    const std::optional<OpenKey> open = Handles().Find(key);
    if (!open) return ERROR_INVALID_HANDLE;
    return FileOf(open->hive).Transact([&](registry::Hive& hive, bool*) {
        if (!hive.Find(open->path)) return ERROR_KEY_DELETED;
        const std::vector<std::u16string> names = hive.SubKeyNames(open->path);
        if (index >= names.size()) return ERROR_NO_MORE_ITEMS;
        return CopyName(names[index], name, nameChars);
    });
}

LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameChars, LPDWORD /*reserved*/,
                   LPDWORD type, LPBYTE data, LPDWORD byteCount) {
    const std::optional<OpenKey> open = Handles().Find(key);
    if (!open) return ERROR_INVALID_HANDLE;
    if (!(open->access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
    return FileOf(open->hive).Transact([&](registry::Hive& hive, bool*) {
        const registry::Key* k = hive.Find(open->path);
        if (!k) return ERROR_KEY_DELETED;
        if (index >= k->values.size()) return ERROR_NO_MORE_ITEMS;
        const registry::Value& v = k->values[index];
        if (const LONG rc = CopyName(v.name, name, nameChars); rc != ERROR_SUCCESS) return rc;
        if (type) *type = v.type;
        const auto size = static_cast<DWORD>(v.data.size());
        LONG rc = ERROR_SUCCESS;
        if (data) {
            if (!byteCount) return ERROR_INVALID_PARAMETER;
            if (*byteCount < size)
                rc = ERROR_MORE_DATA;
            else if (size > 0)
                std::memcpy(data, v.data.data(), size);
        }
        if (byteCount) *byteCount = size;
        return rc;
    });
}

LONG RegCloseKey(HKEY key) {
    if (key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER) return ERROR_SUCCESS;
    return Handles().Remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
