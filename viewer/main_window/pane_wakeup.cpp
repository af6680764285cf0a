#include "viewer/main_window/pane_wakeup.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <QMetaObject>
#include <cstdint>

PaneWakeup::PaneWakeup(std::function<void()> onWake)
    : onWake_(std::move(onWake)), fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (fd_ >= 0) {
        notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                         [this] { OnReadable(); });
    } else {
        fallbackTarget_ = std::make_unique<QObject>();
    }
}

PaneWakeup::~PaneWakeup() {
    notifier_.reset();
    if (fd_ >= 0) ::close(fd_);
}

void PaneWakeup::Wake() {
    if (fd_ < 0) {
        QMetaObject::invokeMethod(
            fallbackTarget_.get(), [this] { onWake_(); }, Qt::QueuedConnection);
        return;
    }
    const std::uint64_t one = 1;
    // Only a full counter (2^64 - 2 wake-ups not read) refuses the write: a wake-up is pending.
    [[maybe_unused]] const ssize_t written = ::write(fd_, &one, sizeof one);
}

void PaneWakeup::OnReadable() {
    std::uint64_t count = 0;
    if (::read(fd_, &count, sizeof count) != static_cast<ssize_t>(sizeof count)) return;
    onWake_();
}
