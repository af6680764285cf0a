// A hive in memory: keys by path, each with its values in the order they were first written.
// Key and value names compare without regard to ASCII case and keep the case they were made with.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/win_types.h"

namespace registry {

struct Value {
    std::u16string name;  // empty: the key's default value
    DWORD type = 0;
    std::vector<BYTE> data;
};

struct Key {
    std::u16string path;  // "Software\Corvane\Grabber", as first created; "" for the hive root
    std::vector<Value> values;

    Value* FindValue(std::u16string_view name);
    const Value* FindValue(std::u16string_view name) const;
    void SetValue(std::u16string_view name, DWORD type, std::vector<BYTE> data);
    bool RemoveValue(std::u16string_view name);
};

// Splits a key path on '\' and joins the non-empty parts, so "A\\B\" and "A\B" are the same key.
std::u16string NormalisePath(std::u16string_view path);
// Joins a parent path and a relative path.
std::u16string JoinPath(std::u16string_view parent, std::u16string_view child);

class Hive {
  public:
    Key* Find(std::u16string_view path);
    const Key* Find(std::u16string_view path) const;
    // Creates the key and every key above it that is missing; returns it and whether it was new.
    Key& Create(std::u16string_view path, bool* created = nullptr);
    // Removes the key and everything below it; false when it did not exist.
    bool RemoveTree(std::u16string_view path);
    // Names (last path part) of the direct sub-keys, in sorted order.
    std::vector<std::u16string> SubKeyNames(std::u16string_view path) const;

    // All keys, parents before children.
    const std::map<std::u16string, Key>& Keys() const { return keys_; }

  private:
    std::map<std::u16string, Key> keys_;  // by folded normalised path
};

}  // namespace registry
