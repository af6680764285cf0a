// Making the folder a recording or a picture is saved into.
#pragma once

#include <string>

namespace storage {

// Creates the folder `path` (one level: its parent must exist). True when it was made or exists
// already (errno EEXIST); false on any other failure, with errno set.
bool MakeFolder(const std::string& path);

}  // namespace storage
