#include "viewer/snapshots/snapshot_writer.h"

CSnapshotWriter::CSnapshotWriter() : thread_([this] { Run(); }) {}

CSnapshotWriter::~CSnapshotWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void CSnapshotWriter::Post(std::unique_ptr<CImageAction> image, std::string fileName) {
    if (!image) return;
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(Job{std::move(image), std::move(fileName)});
    }
    wake_.notify_one();
}

void CSnapshotWriter::WaitIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

std::uint64_t CSnapshotWriter::Written() {
    std::lock_guard lock(mutex_);
    return written_;
}

std::uint64_t CSnapshotWriter::Failed() {
    std::lock_guard lock(mutex_);
    return failed_;
}

void CSnapshotWriter::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty()) return;  // stopping, and everything posted is written
        Job job = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        const bool ok = job.image->WriteSnapshot(job.fileName.c_str()) == 1;
        job.image.reset();
        lock.lock();
        busy_ = false;
        ++(ok ? written_ : failed_);
        if (queue_.empty()) idle_.notify_all();
    }
}
