#include "viewer/app/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace {

// The write end of the live object's pipe, for the handler; -1 when there is none. A signal
// handler can reach nothing else, so this is the one variable of its kind.
volatile std::sig_atomic_t g_writeEnd = -1;

void RestoreDefaults() {
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    for (const int signal : CTerminationSignals::kSignals) sigaction(signal, &fallback, nullptr);
}

// Async-signal-safe: sigaction, write and errno only.
extern "C" void OnTerminationSignal(int signal) {
    const int savedErrno = errno;
    RestoreDefaults();
    const unsigned char number = static_cast<unsigned char>(signal);
    if (g_writeEnd >= 0) [[maybe_unused]]
        const ssize_t written = write(g_writeEnd, &number, 1);
    errno = savedErrno;
}

}  // namespace

CTerminationSignals::CTerminationSignals(std::function<void(int)> onSignal)
    : onSignal_(std::move(onSignal)) {
    if (g_writeEnd >= 0 || pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipe_[0] = pipe_[1] = -1;
        return;
    }
    g_writeEnd = pipe_[1];
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &CTerminationSignals::OnReadable);
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : kSignals) sigaddset(&action.sa_mask, signal);
    action.sa_flags = SA_RESTART;
    for (int k = 0; k < 3; ++k) sigaction(kSignals[k], &action, &previous_[k]);
}

CTerminationSignals::~CTerminationSignals() {
    if (pipe_[1] < 0) return;
    notifier_.reset();
    // A handler caught after this point finds no pipe; the previous actions come back.
    for (int k = 0; k < 3; ++k) {
        struct sigaction current = {};
        sigaction(kSignals[k], nullptr, &current);
        if (current.sa_handler == OnTerminationSignal)
            sigaction(kSignals[k], &previous_[k], nullptr);
    }
    g_writeEnd = -1;
    close(pipe_[0]);
    close(pipe_[1]);
}

void CTerminationSignals::OnReadable() {
    unsigned char number = 0;
    if (read(pipe_[0], &number, 1) != 1) return;
    notifier_->setEnabled(false);  // once: the handlers are gone, a second signal ends the program
    if (onSignal_) onSignal_(number);
}
