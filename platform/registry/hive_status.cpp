#include "platform/registry/hive_status.h"

#include <map>
#include <mutex>

#include "platform/registry/hive_file.h"

namespace registry {
namespace {

// The statuses of the hive files this process has touched, by file path. One per process, as
// the hives themselves are.
class HiveStatusTable {
  public:
    static HiveStatusTable& Instance() {
        static HiveStatusTable table;
        return table;
    }

    HiveStatus Get(const std::string& file) {
        std::lock_guard lock(mutex_);
        auto it = statuses_.find(file);
        if (it != statuses_.end()) return it->second;
        HiveStatus status;
        status.file = file;
        return status;
    }

    template <typename Change>
    void Update(const std::string& file, Change change) {
        std::lock_guard lock(mutex_);
        HiveStatus& status = statuses_[file];
        status.file = file;
        change(status);
    }

  private:
    // Guarded by mutex_.
    std::mutex mutex_;
    std::map<std::string, HiveStatus> statuses_;
};

}  // namespace

HiveStatus HiveStatusOf(HKEY root) {
    if (root == HKEY_CURRENT_USER)
        return HiveStatusTable::Instance().Get(HivePath(kCurrentUserTitle));
    if (root == HKEY_CLASSES_ROOT)
        return HiveStatusTable::Instance().Get(HivePath(kClassesRootTitle));
    return HiveStatus{};
}

void NoteHiveDamage(const std::string& file, const std::string& keptAs, const std::string& damage,
                    std::size_t badLines) {
    HiveStatusTable::Instance().Update(file, [&](HiveStatus& status) {
        if (status.damaged) return;  // the first damage is the one the user is told of
        status.damaged = true;
        status.keptAs = keptAs;
        status.damage = damage;
        status.badLines = badLines;
    });
}

void NoteHiveRead(const std::string& file, bool readable, const std::string& readError) {
    HiveStatusTable::Instance().Update(file, [&](HiveStatus& status) {
        status.unreadable = !readable;
        status.readError = readable ? std::string() : readError;
    });
}

void NoteHiveInMemory(const std::string& file) {
    HiveStatusTable::Instance().Update(file, [](HiveStatus& status) { status.inMemory = true; });
}

}  // namespace registry
