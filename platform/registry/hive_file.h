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
#pragma once

#include <functional>
#include <string>

#include "platform/registry/hive.h"

namespace registry {

std::string Serialise(const Hive& hive, const std::string& title);
// Parses the text form; on failure returns false and describes the first bad line in *error.
bool Parse(std::string_view text, Hive* hive, std::string* error);

// The folder that holds the hive files: $QUADREL_REGISTRY_DIR, else $XDG_CONFIG_HOME/quadrel,
// else $HOME/.config/quadrel.
std::string HiveDirectory();

class HiveFile {
  public:
    // `path` is the hive's file; `title` names the hive in the file's header comment.
    HiveFile(std::string path, std::string title);

    // Reads the hive under the lock and runs `fn` on it. When `fn` returns ERROR_SUCCESS with
    // *changed set, the hive is written back before the lock is released; a failed write leaves
    // the previous file as it was and the transaction fails with ERROR_CANTWRITE.
    // A file that cannot be parsed is reported on stderr, kept aside under a ".damaged-…" name,
    // and the transaction fails with ERROR_BADDB (the next one starts from an empty hive).
    // A file that cannot be read fails with ERROR_CANTREAD, reported on stderr, and is left alone.
    LONG Transact(const std::function<LONG(Hive& hive, bool* changed)>& fn);

    const std::string& Path() const { return path_; }

  private:
    LONG Load(Hive* hive);
    LONG Save(const Hive& hive);

    std::string path_;
    std::string title_;
};

}  // namespace registry
