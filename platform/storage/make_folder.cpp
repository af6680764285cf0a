#include "platform/storage/make_folder.h"

#include <sys/stat.h>

#include <cerrno>

namespace storage {

bool MakeFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) return true;
    return errno == EEXIST;
}

}  // namespace storage
