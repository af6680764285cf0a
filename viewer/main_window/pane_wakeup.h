// PaneWakeup: wakes a widget's GUI thread from any thread without calling into Qt there. The
// waking thread writes to an eventfd; a socket notifier on the GUI thread reads it (folding any
// number of wake-ups into one) and runs the callback. Streaming threads thus never touch Qt's
// event queue, whose own lock the thread sanitizer cannot see, and the write and read of the
// eventfd order the wake-up before the callback.
#pragma once

#include <QSocketNotifier>
#include <functional>
#include <memory>

class PaneWakeup {
  public:
    // GUI thread. `onWake` runs on the GUI thread, once per batch of Wake calls.
    explicit PaneWakeup(std::function<void()> onWake);
    // GUI thread; no Wake may run or start any more.
    ~PaneWakeup();
    PaneWakeup(const PaneWakeup&) = delete;
    PaneWakeup& operator=(const PaneWakeup&) = delete;

    // Any thread: returns at once. Without an eventfd (none could be made) the callback is
    // queued on the GUI thread's event queue instead.
    void Wake();

  private:
    void OnReadable();

    // Immutable after construction.
    const std::function<void()> onWake_;
    const int fd_;  // the eventfd, or -1
    // GUI thread only; null without an eventfd.
    std::unique_ptr<QSocketNotifier> notifier_;
    std::unique_ptr<QObject> fallbackTarget_;
};
