#include "platform/storage/disk_space.h"

#include <mntent.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace storage {
namespace {

bool IsLocalDiskFilesystem(std::string_view type) {
    static constexpr std::array<std::string_view, 14> kTypes = {
        "ext2",  "ext3", "ext4",  "xfs", "btrfs",    "f2fs", "vfat",
        "exfat", "ntfs", "ntfs3", "jfs", "reiserfs", "zfs",  "fuseblk"};
    for (std::string_view t : kTypes)
        if (t == type) return true;
    return false;
}

class SystemDiskSpace final : public DiskSpace {
  public:
    std::vector<std::string> SaveFolderCandidates() const override {
        std::vector<std::string> folders;
        if (const char* home = std::getenv("HOME"); home && *home) folders.emplace_back(home);
        std::unique_ptr<FILE, int (*)(FILE*)> table(::setmntent("/proc/self/mounts", "r"),
                                                    ::endmntent);
        if (!table) return folders;
        mntent entry{};
        std::array<char, 4096> buffer{};
        while (::getmntent_r(table.get(), &entry, buffer.data(), static_cast<int>(buffer.size()))) {
            if (!IsLocalDiskFilesystem(entry.mnt_type)) continue;
            if (::hasmntopt(&entry, "ro")) continue;
            if (::access(entry.mnt_dir, W_OK) != 0) continue;
            folders.emplace_back(entry.mnt_dir);
        }
        return folders;
    }

    bool FreeBytesForUser(const std::string& folder, std::uint64_t* bytes) const override {
        std::string path = folder.empty() ? "/" : folder;
        for (;;) {
            struct statvfs info {};
            if (::statvfs(path.c_str(), &info) == 0) {
                *bytes = static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
                return true;
            }
            if (errno != ENOENT || path == "/") return false;
            while (path.size() > 1 && path.back() == '/') path.pop_back();
            const std::size_t slash = path.find_last_of('/');
            path = slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
        }
    }
};

}  // namespace

const DiskSpace& DiskSpace::System() {
    static const SystemDiskSpace system;
    return system;
}

std::string JoinFolder(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

}  // namespace storage
