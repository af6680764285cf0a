// A hive's file: a readable text form, and transactions that read it afresh under an exclusive
// lock and write changes atomically (temporary file, fsync, rename, fsync of the folder).
//
// The text form:
//     ; comment lines and blank lines are ignored
//     [Software\Corvane\Grabber]
//     "Channel I Name"=sz:"Channel 1"
//     "Channel I Enable"=dword:1
//     @=sz:"the key's default value"
//     "Other"=hex(3):"00ff"
// Quoted text is UTF-8 with the escapes \\ \" \n \r \t \0 and \uXXXX.
//
// The names in a file are not limited: a file written by an editor may hold a key or value name
// longer than the registry calls accept, and it is read and listed all the same.
#pragma once

#include <functional>
#include <string>

#include "platform/registry/hive.h"

namespace registry {

std::string Serialise(const Hive& hive, const std::string& title);
// Parses the text form into `hive`, keeping every line that parses. A bad line (not UTF-8, not a
// key or value, or a value under a bad key line) is skipped; then Parse returns false, describes
// the first bad line in *error (printable text only, bounded) and counts the bad lines in
// *badLines (may be null).
bool Parse(std::string_view text, Hive* hive, std::string* error, std::size_t* badLines = nullptr);

// The folder that holds the hive files: $QUADREL_REGISTRY_DIR, else $XDG_CONFIG_HOME/quadrel,
// else $HOME/.config/quadrel.
std::string HiveDirectory();

inline constexpr const char* kCurrentUserTitle = "HKEY_CURRENT_USER";
inline constexpr const char* kClassesRootTitle = "HKEY_CLASSES_ROOT";
// The file of the hive named `title` in HiveDirectory(): "<folder>/<title>.reg".
std::string HivePath(const std::string& title);

// The steps of writing a hive's file, where a test can stop a process to see what a crash there
// leaves behind.
enum class WriteStep {
    kTemporaryCreated,  // the temporary file exists, empty
    kTemporaryWritten,  // it holds the new text, not yet synced
    kTemporarySynced,   // synced and closed, not yet renamed
    kRenamed,           // renamed over the hive's file, the folder not yet synced
};
using WriteStepHook = void (*)(WriteStep step);
// Calls `hook` (null: none, the default) at each step of every write in this process. Set it
// before the process's first registry call, from one thread.
void SetWriteStepHookForTests(WriteStepHook hook);

class HiveFile {
  public:
    // `path` is the hive's file; `title` names the hive in the file's header comment.
    HiveFile(std::string path, std::string title);

    // Reads the hive under the lock and runs `fn` on it. When `fn` returns ERROR_SUCCESS with
    // *changed set, the hive is written back before the lock is released; a failed write leaves
    // the previous file as it was and the transaction fails with ERROR_CANTWRITE.
    // Under the lock, temporary files that writers killed between writing and renaming left
    // behind are removed: a writer writes and renames only while it holds the lock, so none of
    // them can still be in use.
    // A file that does not parse in full is reported on stderr and kept aside under a
    // ".damaged-…" name; the lines that parsed are written back as the hive and `fn` runs on
    // them (a file that cannot be kept aside is left as it is, and changes fail with
    // ERROR_CANTWRITE). A file that cannot be read fails with ERROR_CANTREAD, reported on stderr,
    // and is left alone; a hive that opted in (memory_hives.h) then goes on in memory instead. Both
    // are noted for HiveStatusOf (hive_status.h).
    LONG Transact(const std::function<LONG(Hive& hive, bool* changed)>& fn);

    const std::string& Path() const { return path_; }

  private:
    // *writable is false when the file is damaged and could not be kept aside.
    LONG Load(Hive* hive, bool* writable);
    // Keeps the damaged file aside and writes the lines that parsed in its place; false when it
    // could not be kept (then the file is left as it is).
    bool KeepDamagedAside(const Hive& recovered, const std::string& error, std::size_t badLines);
    LONG Save(const Hive& hive);
    void RemoveStaleTemporaryFiles();

    // Set at construction; a HiveFile lives for one call on one thread.
    std::string path_;
    std::string title_;
};

}  // namespace registry
