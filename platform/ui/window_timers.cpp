#include "platform/ui/window_timers.h"

CWindowTimers::CWindowTimers(Handler handler) : handler_(std::move(handler)) {}

CWindowTimers::~CWindowTimers() = default;

UINT CWindowTimers::SetTimer(UINT id, UINT milliseconds) {
    std::unique_ptr<QTimer>& timer = timers_[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [this, id] {
            if (handler_) handler_(id);
        });
    }
    timer->start(static_cast<int>(std::min<UINT>(milliseconds, INT32_MAX)));
    return id;
}

bool CWindowTimers::KillTimer(UINT id) {
    const auto it = timers_.find(id);
    if (it == timers_.end() || !it->second->isActive()) return false;
    it->second->stop();
    return true;
}

void CWindowTimers::KillAll() {
    for (auto& [id, timer] : timers_) timer->stop();
}

bool CWindowTimers::IsRunning(UINT id) const {
    const QTimer* timer = Find(id);
    return timer && timer->isActive();
}

const QTimer* CWindowTimers::Find(UINT id) const {
    const auto it = timers_.find(id);
    return it == timers_.end() ? nullptr : it->second.get();
}
