// Test helpers: a temporary folder removed with everything in it, an environment variable set
// for a scope, and a private registry folder for the duration of a test.
#pragma once

#include <optional>
#include <string>

namespace testing_support {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_;
};

// Points the registry, and the program's state (XDG_STATE_HOME), at an empty folder of its own
// while it lives.
class TempRegistry {
  public:
    TempRegistry()
        : env_("QUADREL_REGISTRY_DIR", dir_.Path()), state_("XDG_STATE_HOME", dir_.Path()) {}
    const std::string& Path() const { return dir_.Path(); }
    std::string UserHive() const { return dir_.File("HKEY_CURRENT_USER.reg"); }
    std::string ClassesHive() const { return dir_.File("HKEY_CLASSES_ROOT.reg"); }

  private:
    TempDir dir_;
    ScopedEnv env_;
    ScopedEnv state_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);

}  // namespace testing_support
