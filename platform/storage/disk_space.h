// Free space of folders, and the folders where recordings and pictures may go by default.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace storage {

class DiskSpace {
  public:
    virtual ~DiskSpace() = default;

    // Folders that can hold the default save folders, best first on a tie: the user's home, then
    // the writable mount points of local disk filesystems in mount order.
    virtual std::vector<std::string> SaveFolderCandidates() const = 0;

    // Bytes free to the calling user on the filesystem of `folder` (the folder need not exist:
    // its nearest existing parent is asked). False when the query fails.
    virtual bool FreeBytesForUser(const std::string& folder, std::uint64_t* bytes) const = 0;

    // The machine's own disks (statvfs and the mount table).
    static const DiskSpace& System();
};

// Joins a folder and a relative name with exactly one '/' between them.
std::string JoinFolder(const std::string& folder, const std::string& name);

}  // namespace storage
