// What this process found wrong with a hive's file: damage it kept aside, or a read that failed.
// The registry calls themselves answer with Windows error codes only; a program that must tell
// its user what happened to its settings asks here after its start-up. Thread-safe.
#pragma once

#include <string>

#include "platform/registry/registry.h"

namespace registry {

struct HiveStatus {
    std::string file;  // the hive's file

    // The first damage found in this process (the file's text did not parse in full).
    bool damaged = false;
    std::string keptAs;        // where the damaged file was kept; empty when it could not be
    std::string damage;        // printable: the first bad line, e.g. "line 3: not a key or value"
    std::size_t badLines = 0;  // lines that were dropped; every other line was kept

    // The last transaction on the hive could not read its file (a folder in its place, no
    // permission, ...): every call fails until it can.
    bool unreadable = false;
    std::string readError;  // printable: the system's reason

    // The hive is kept in memory for the rest of the process in place of its unreadable file
    // (memory_hives.h): calls work, nothing is saved.
    bool inMemory = false;
};

// The status of hive `root` (HKEY_CURRENT_USER or HKEY_CLASSES_ROOT) in the current registry
// folder; a status with neither flag set for any other handle or an untouched hive.
HiveStatus HiveStatusOf(HKEY root);

// Called by the hive's file on every transaction: what it found.
void NoteHiveDamage(const std::string& file, const std::string& keptAs, const std::string& damage,
                    std::size_t badLines);
void NoteHiveRead(const std::string& file, bool readable, const std::string& readError);
void NoteHiveInMemory(const std::string& file);

}  // namespace registry
