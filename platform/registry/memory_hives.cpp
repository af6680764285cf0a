#include "platform/registry/memory_hives.h"

#include <map>
#include <mutex>
#include <set>

#include "platform/registry/hive_file.h"
#include "platform/registry/hive_status.h"

namespace registry {
namespace {

class MemoryHives {
  public:
    static MemoryHives& Instance() {
        static MemoryHives hives;
        return hives;
    }

    void OptIn(const std::string& title) {
        std::lock_guard lock(mutex_);
        optedIn_.insert(title);
    }

    bool Transact(const std::string& file, const std::string& title, bool engage,
                  const std::function<LONG(Hive& hive, bool* changed)>& fn, LONG* result) {
        std::unique_lock lock(mutex_);
        auto it = hives_.find(file);
        if (it == hives_.end()) {
            if (!engage || !optedIn_.contains(title)) return false;
            it = hives_.emplace(file, Hive()).first;
            lock.unlock();
            NoteHiveInMemory(file);
            lock.lock();
        }
        bool changed = false;
        *result = fn(it->second, &changed);
        return true;
    }

  private:
    // Guarded by mutex_ (held while a transaction runs on a memory hive, as the file's lock is).
    std::mutex mutex_;
    std::set<std::string> optedIn_;      // hive titles
    std::map<std::string, Hive> hives_;  // by the file they stand for
};

}  // namespace

void KeepInMemoryWhenUnreadable(HKEY root) {
    if (root == HKEY_CURRENT_USER) MemoryHives::Instance().OptIn(kCurrentUserTitle);
    if (root == HKEY_CLASSES_ROOT) MemoryHives::Instance().OptIn(kClassesRootTitle);
}

bool TransactInMemory(const std::string& file, const std::string& title, bool engage,
                      const std::function<LONG(Hive& hive, bool* changed)>& fn, LONG* result) {
    return MemoryHives::Instance().Transact(file, title, engage, fn, result);
}

}  // namespace registry
