// Small typed reads and writes of registry values used by the filter mapper and the device
// enumerator, and the key under which a category's registered filters live.
#pragma once

#include <optional>
#include <string>

#include "platform/com/guid.h"
#include "platform/registry/registry.h"

namespace media {

// A REG_SZ value without its terminating NULs, or nothing when missing or of another type.
std::optional<std::u16string> ReadText(HKEY key, LPCWSTR name);
LONG WriteText(HKEY key, LPCWSTR name, const std::u16string& text);
LONG WriteNumber(HKEY key, LPCWSTR name, DWORD value);

// "CLSID\{category}\Instance" in the classes hive.
std::u16string InstanceKeyPath(REFCLSID category);

// Closes a key on scope exit.
class ScopedKey {
  public:
    ScopedKey() = default;
    ~ScopedKey() {
        if (key_) RegCloseKey(key_);
    }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;
    HKEY Get() const { return key_; }
    HKEY* Receive() { return &key_; }

  private:
    HKEY key_ = nullptr;
};

}  // namespace media
