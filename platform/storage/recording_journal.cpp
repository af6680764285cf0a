#include "platform/storage/recording_journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace storage {
namespace {

// mkdir -p, the folders it makes private to the user; false when the folder is not there after.
bool MakeFolders(const std::string& folder) {
    if (folder.empty()) return true;
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
    const std::size_t slash = folder.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(folder.substr(0, slash)))
        return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

std::string FolderOf(const std::string& file) {
    const std::size_t slash = file.find_last_of('/');
    return slash == std::string::npos ? std::string() : file.substr(0, slash);
}

// Writes all of `text` to `fd`; false on any failure.
bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::string RecordingJournal::DefaultFile() {
    std::string folder;
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state) {
        folder = state;
    } else {
        const char* home = std::getenv("HOME");
        folder = std::string(home && *home ? home : ".") + "/.local/state";
    }
    return folder + "/quadrel/recordings-in-progress";
}

std::vector<std::string> RecordingJournal::Entries() const {
    std::vector<std::string> entries;
    std::ifstream in(file_);
    std::string line;
    while (std::getline(in, line))
        if (!line.empty()) entries.push_back(line);
    return entries;
}

bool RecordingJournal::Add(const std::string& path) {
    if (path.empty() || path.find('\n') != std::string::npos) return false;
    std::vector<std::string> entries = Entries();
    if (std::find(entries.begin(), entries.end(), path) != entries.end()) return true;
    entries.push_back(path);
    return Write(entries);
}

bool RecordingJournal::Remove(const std::string& path) {
    std::vector<std::string> entries = Entries();
    const auto kept = std::remove(entries.begin(), entries.end(), path);
    if (kept == entries.end()) return true;
    entries.erase(kept, entries.end());
    return Write(entries);
}

bool RecordingJournal::Write(const std::vector<std::string>& entries) const {
    const std::string folder = FolderOf(file_);
    if (!MakeFolders(folder)) return false;
    std::string text;
    for (const std::string& entry : entries) text += entry + '\n';
    const std::string next = file_ + ".new";
    const int fd = ::open(next.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(next.c_str(), file_.c_str()) != 0) {
        std::remove(next.c_str());
        return false;
    }
    // The rename itself reaches the disk with the folder.
    const int dir =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

}  // namespace storage
