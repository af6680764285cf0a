// Timers by id, as windows have them: SetTimer(id, ms) arms timer `id` to tick every `ms`
// milliseconds, KillTimer(id) stops it, and every tick calls the handler with the id on the
// thread that owns the timers (the GUI thread). Arming a timer that runs already restarts it with
// the new period; ticks of different ids are independent.
//
// A test steps a tick without waiting by sending the timer's QTimer a QTimerEvent with its
// timerId() (Find gives the QTimer), or by calling the handler itself.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

#include "platform/base/win_types.h"

class CWindowTimers {
  public:
    using Handler = std::function<void(UINT id)>;

    // `handler` is called for every tick; it may arm or kill any timer, its own included.
    explicit CWindowTimers(Handler handler);
    ~CWindowTimers();
    CWindowTimers(const CWindowTimers&) = delete;
    CWindowTimers& operator=(const CWindowTimers&) = delete;

    // Arms (or re-arms, restarting the period) timer `id`; a period of 0 ticks as soon as the
    // event loop is idle. Returns `id`.
    UINT SetTimer(UINT id, UINT milliseconds);
    // Stops timer `id`; false when it was not running.
    bool KillTimer(UINT id);
    void KillAll();

    bool IsRunning(UINT id) const;
    // The QTimer behind `id`, or null when the id was never armed. A killed timer keeps its
    // QTimer (stopped) until the id is armed again.
    const QTimer* Find(UINT id) const;

  private:
    Handler handler_;
    // Stopped timers are kept rather than destroyed: a handler may kill the timer that is
    // delivering its tick.
    std::map<UINT, std::unique_ptr<QTimer>> timers_;
};
