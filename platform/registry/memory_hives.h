// Hives kept in memory in place of files that cannot be read, for a program that must go on
// without them (the viewer runs on its first-run settings). Thread-safe.
#pragma once

#include <functional>
#include <string>

#include "platform/base/win_types.h"
#include "platform/registry/hive.h"
#include "platform/registry/registry.h"

namespace registry {

// Opts in for hive `root` (HKEY_CURRENT_USER or HKEY_CLASSES_ROOT): from now on in this
// process, when its folder, lock or file cannot be read, the hive is kept in memory, empty at
// first, for the rest of the process. Its changes are kept there and never saved; the file is
// left alone, and HiveStatusOf says so. Without it, such a hive fails every call.
void KeepInMemoryWhenUnreadable(HKEY root);

// For the hive's file: runs `fn` on the memory hive standing for `file` and stores its result
// in *result; false (and nothing run) when `file` is read from disk. With `engage`, a hive that
// has opted in is moved to memory first.
bool TransactInMemory(const std::string& file, const std::string& title, bool engage,
                      const std::function<LONG(Hive& hive, bool* changed)>& fn, LONG* result);

}  // namespace registry
