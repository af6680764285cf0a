#include "viewer/alerts/abort_signal.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

AbortSignal::AbortSignal() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

AbortSignal::~AbortSignal() {
    if (fd_ >= 0) ::close(fd_);
}

void AbortSignal::Raise() {
    raised_ = true;
    if (fd_ < 0) return;
    const std::uint64_t one = 1;
    // Nothing reads the counter, so it stays non-zero and the descriptor stays readable.
    [[maybe_unused]] const ssize_t written = ::write(fd_, &one, sizeof one);
}

bool AbortSignal::Raised() const {
    return raised_;
}
