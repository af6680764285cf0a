// FuzzTempFolder: a folder of the fuzz process's own for targets whose code under test works on
// files. It lies on a memory file system where there is a writable one (the code syncs what it
// writes, which would otherwise bound the executions a second by the disk) and is removed with
// everything in it when the process exits normally.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "fuzz_check.h"

class FuzzTempFolder {
  public:
    // `name` starts the folder's name.
    explicit FuzzTempFolder(const std::string& name) {
        std::error_code ignored;
        const bool shm =
            std::filesystem::is_directory("/dev/shm", ignored) && ::access("/dev/shm", W_OK) == 0;
        path_ = (shm ? std::string("/dev/shm") : std::filesystem::temp_directory_path().string()) +
                "/" + name + ".XXXXXX";
        FUZZ_CHECK(::mkdtemp(path_.data()) != nullptr);
    }
    ~FuzzTempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    FuzzTempFolder(const FuzzTempFolder&) = delete;
    FuzzTempFolder& operator=(const FuzzTempFolder&) = delete;

    const std::string& Path() const { return path_; }

  private:
    // Immutable after construction; the fuzzer's one thread.
    std::string path_;
};
