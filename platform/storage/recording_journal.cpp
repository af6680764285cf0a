#include "platform/storage/recording_journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/base/folders.h"

namespace storage {
namespace {

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
    const std::string folder = folders::FolderOf(file_);
    if (!folders::MakePrivateFolders(folder)) return false;
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
