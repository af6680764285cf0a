// CMailWorker: delivers mails on one thread of its own, one after the other in the order they
// were posted, so that the GUI thread never waits for a mail server. Shutdown gives up what is
// still unsent: the mail being delivered is abandoned at its current wait (the socket wait is
// woken through an AbortSignal), the queued ones are dropped.
//
// Post and Shutdown belong to the thread that owns the worker (the GUI thread); the delivery
// runs on the worker's thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>

#include "viewer/alerts/abort_signal.h"
#include "viewer/alerts/mail_delivery.h"
#include "viewer/alerts/outgoing_mail.h"

class CMailWorker {
  public:
    struct Counts {
        std::size_t delivered = 0;
        std::size_t failed = 0;     // could not be delivered (refused, no server, time-out)
        std::size_t abandoned = 0;  // given up by Shutdown, sent or not
    };

    explicit CMailWorker(MailTransport transport);
    // Shutdown.
    ~CMailWorker();
    CMailWorker(const CMailWorker&) = delete;
    CMailWorker& operator=(const CMailWorker&) = delete;

    // Queues `mail` and returns at once (the thread starts with the first mail). Ignored after
    // Shutdown.
    void Post(OutgoingMail mail);

    // Gives up every unsent mail and returns when the thread has ended: at once between mails,
    // else as soon as the current wait notices the abort (a host-name lookup excepted, which no
    // signal can cut short).
    void Shutdown();

    // Any thread. What became of the mails so far.
    Counts Outcomes() const;
    // Any thread: waits until no mail is queued or being delivered, at most `limit`; false when
    // the limit passed first. For tests and for callers that must know the mail went out.
    bool WaitUntilIdle(std::chrono::milliseconds limit) const;

  private:
    void Run();

    // Immutable after construction.
    const MailTransport transport_;
    // Any thread; raised once, by Shutdown.
    AbortSignal abort_;
    // The owner's thread only.
    std::thread thread_;
    // Guarded by m_lock.
    mutable std::mutex m_lock;
    mutable std::condition_variable changed_;
    std::deque<OutgoingMail> queue_;
    bool busy_ = false;  // a mail is being delivered
    bool stopping_ = false;
    Counts counts_;
};
