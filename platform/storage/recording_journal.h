// RecordingJournal: the recording files being written, kept in a small file so that the next
// start of the program finds the ones it left unfinished when it ended without stopping them (it
// was killed, it crashed, the machine lost power). One UTF-8 path per line. Each change replaces
// the whole file (written beside it, flushed to the disk, renamed over it), so a crash in the
// middle of a change leaves the list from before or after it, never a broken one.
//
// Not thread-safe: one thread (the viewer's GUI thread) uses it.
#pragma once

#include <string>
#include <vector>

namespace storage {

class RecordingJournal {
  public:
    // The journal in the file `file`; its folder is made when the first entry is written.
    explicit RecordingJournal(std::string file) : file_(std::move(file)) {}

    // $XDG_STATE_HOME/quadrel/recordings-in-progress, with ~/.local/state for an unset
    // XDG_STATE_HOME.
    static std::string DefaultFile();

    // Adds `path` (once); false when it cannot be written down or holds a line break.
    bool Add(const std::string& path);
    // Removes `path`; false when the journal could not be rewritten.
    bool Remove(const std::string& path);
    // The paths, oldest first; empty when the journal is missing or unreadable.
    std::vector<std::string> Entries() const;

    const std::string& File() const { return file_; }

  private:
    bool Write(const std::vector<std::string>& entries) const;

    const std::string file_;
};

}  // namespace storage
