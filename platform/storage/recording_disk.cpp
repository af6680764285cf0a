#include "platform/storage/recording_disk.h"

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace storage {
namespace {

class SystemRecordingDisk final : public RecordingDisk {
  public:
    bool FreeBytes(const std::string& folder, std::uint64_t* bytes) const override {
        struct statvfs info {};
        if (::statvfs(folder.c_str(), &info) != 0) return false;
        *bytes = static_cast<std::uint64_t>(info.f_bfree) * info.f_frsize;
        return true;
    }
    std::int64_t FileBytes(const std::string& path) const override {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return -1;
        struct stat info {};
        const int result = ::fstat(fd, &info);
        ::close(fd);
        return result == 0 ? static_cast<std::int64_t>(info.st_size) : -1;
    }
};

}  // namespace

int RecordingDisk::FreeMiB(const std::string& folder) const {
    std::uint64_t bytes = 0;
    if (!FreeBytes(folder, &bytes)) return 0;
    return static_cast<int>(std::min<std::uint64_t>(bytes >> 20, 0x7FFFFFFF));
}

const RecordingDisk& RecordingDisk::System() {
    static const SystemRecordingDisk disk;
    return disk;
}

}  // namespace storage
