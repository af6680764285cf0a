// HiveSizeLimit: a registry write that fails part-way, made real by the file size limit of the
// process (the hive is written whole, so a write that makes it longer fails).
#pragma once

#include <sys/resource.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <string>

namespace settings_dialog_test {

// While it lives, no file of this process may grow past the user hive's present size plus
// `slack` bytes: a registry write that makes the hive longer than that fails.
class HiveSizeLimit {
  public:
    HiveSizeLimit(const std::string& hive, std::uintmax_t slack) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t size = static_cast<rlim_t>(std::filesystem::file_size(hive) + slack);
        struct rlimit limit = {size, old_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~HiveSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    HiveSizeLimit(const HiveSizeLimit&) = delete;
    HiveSizeLimit& operator=(const HiveSizeLimit&) = delete;

  private:
    // The test's thread only.
    struct rlimit old_ {};
    void (*oldHandler_)(int) = nullptr;
};

}  // namespace settings_dialog_test
