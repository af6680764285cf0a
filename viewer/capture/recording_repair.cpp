#include "viewer/capture/recording_repair.h"

#include <sys/stat.h>

#include <QStringList>

#include "platform/media/recording/avi_repair.h"
#include "platform/ui/ui_text.h"

namespace {

QString FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return QString::fromStdString(slash == std::string::npos ? path : path.substr(slash + 1));
}

}  // namespace

CRecordingRepair::~CRecordingRepair() {
    cancel_.store(true, std::memory_order_relaxed);
    if (worker_.joinable()) worker_.join();
}

void CRecordingRepair::Start(std::function<void()> wake) {
    if (worker_.joinable()) return;
    std::vector<std::string> paths = journal_.Entries();
    if (paths.empty()) return;
    {
        std::lock_guard lock(mutex_);
        outcomes_.clear();
        done_ = false;
    }
    worker_ = std::thread(&CRecordingRepair::Work, this, std::move(paths), std::move(wake));
}

void CRecordingRepair::Work(std::vector<std::string> paths, std::function<void()> wake) {
    std::vector<Outcome> outcomes;
    for (const std::string& path : paths) {
        if (cancel_.load(std::memory_order_relaxed)) break;
        Outcome outcome{path, S_OK};
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) {
            outcome.result = S_FALSE;  // gone: nothing to repair
        } else {
            recording::AviRepairResult repaired;
            outcome.result = recording::RepairAviFile(path, &cancel_, &repaired);
        }
        outcomes.push_back(std::move(outcome));
    }
    {
        std::lock_guard lock(mutex_);
        outcomes_ = std::move(outcomes);
        done_ = true;
    }
    wake();
}

void CRecordingRepair::Finish() {
    std::vector<Outcome> outcomes;
    {
        std::lock_guard lock(mutex_);
        if (!done_) return;
        outcomes = std::move(outcomes_);
        outcomes_.clear();
        done_ = false;
    }
    if (worker_.joinable()) worker_.join();
    QStringList repaired, failed;
    for (const Outcome& outcome : outcomes) {
        // Cut short by the close: the file is as it was, and the next start tries again.
        if (outcome.result == E_ABORT) continue;
        journal_.Remove(outcome.path);
        if (outcome.result == S_OK)
            repaired << FileNameOf(outcome.path);
        else if (outcome.result != S_FALSE)
            failed << FileNameOf(outcome.path);
    }
    QStringList lines;
    if (!repaired.isEmpty())
        lines << ui_text::Message(QStringLiteral("已修复上次未正常结束的录像: %1"))
                     .arg(repaired.join(QStringLiteral(", ")));
    if (!failed.isEmpty())
        lines << ui_text::Message(QStringLiteral("无法修复上次未正常结束的录像: %1"))
                     .arg(failed.join(QStringLiteral(", ")));
    if (!lines.isEmpty()) host_.ShowMessage(lines.join(QLatin1Char('\n')));
}
