// Folders and paths of the program's own files.
#pragma once

#include <string>

namespace folders {

// mkdir -p: makes `folder` and the folders above it that are missing, each private to the user
// (mode 0700). True when `folder` is a folder afterwards.
bool MakePrivateFolders(const std::string& folder);

// The folder part of `path` (before its last '/'); "." without one, "/" for a file in the root.
std::string FolderOf(const std::string& path);

}  // namespace folders
