// AbortSignal: a one-way "give up" flag that can wake a thread blocked in poll(). Any thread may
// raise it; the waiting thread polls Fd() beside its socket and, once it is readable, abandons
// the wait. It is never lowered again: an aborted mail is given up for good.
#pragma once

#include <atomic>

class AbortSignal {
  public:
    AbortSignal();
    ~AbortSignal();
    AbortSignal(const AbortSignal&) = delete;
    AbortSignal& operator=(const AbortSignal&) = delete;

    // Any thread: raises the signal and wakes every poll on Fd(). Returns at once.
    void Raise();
    // Any thread.
    bool Raised() const;
    // An eventfd that becomes readable (and stays so) once the signal is raised; -1 when none
    // could be made (Raised is then still exact, but a poll is not woken).
    int Fd() const { return fd_; }

  private:
    // Immutable after construction.
    const int fd_;
    // Any thread.
    std::atomic<bool> raised_{false};
};
