// What a recording asks of the disk: the free space of the volume a folder is on and the size of
// the file being written. Tests give their own; the program uses the system's.
#pragma once

#include <cstdint>
#include <string>

namespace storage {

class RecordingDisk {
  public:
    virtual ~RecordingDisk() = default;

    // All free bytes of the filesystem of `folder` (not only the caller's share); false when the
    // query fails.
    virtual bool FreeBytes(const std::string& folder, std::uint64_t* bytes) const = 0;
    // The length of the file at `path` opened for reading; -1 when it cannot be opened.
    virtual std::int64_t FileBytes(const std::string& path) const = 0;

    // FreeBytes in whole MiB, at most 2^31 - 1; 0 when the query fails (a start is then refused
    // and a recording stopped, as on a full disk).
    int FreeMiB(const std::string& folder) const;

    // statvfs and the file itself.
    static const RecordingDisk& System();
};

}  // namespace storage
