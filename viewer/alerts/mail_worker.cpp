#include "viewer/alerts/mail_worker.h"

CMailWorker::CMailWorker(MailTransport transport) : transport_(transport) {}

CMailWorker::~CMailWorker() {
    Shutdown();
}

void CMailWorker::Post(OutgoingMail mail) {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (stopping_) return;
        queue_.push_back(std::move(mail));
    }
    changed_.notify_all();
    if (!thread_.joinable()) thread_ = std::thread(&CMailWorker::Run, this);
}

void CMailWorker::Shutdown() {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        stopping_ = true;
        counts_.abandoned += queue_.size();
        queue_.clear();
    }
    abort_.Raise();
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

CMailWorker::Counts CMailWorker::Outcomes() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return counts_;
}

bool CMailWorker::WaitUntilIdle(std::chrono::milliseconds limit) const {
    std::unique_lock<std::mutex> lock(m_lock);
    return changed_.wait_for(lock, limit, [this] { return queue_.empty() && !busy_; });
}

void CMailWorker::Run() {
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (stopping_) return;
        OutgoingMail mail = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        const bool delivered = DeliverMail(mail, transport_, &abort_, nullptr);
        lock.lock();
        busy_ = false;
        if (delivered)
            ++counts_.delivered;
        else if (abort_.Raised())
            ++counts_.abandoned;
        else
            ++counts_.failed;
        changed_.notify_all();
    }
}
