// Hands frame ticks from the device to one output pin's streaming thread: a small ring that
// keeps the newest ticks (the oldest are dropped when the thread falls behind), with the
// stream's start on device time and its stop and end.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>

#include "platform/devices/frame_tick.h"

namespace devices {

class FrameQueue {
  public:
    static constexpr std::size_t kCapacity = 8;

    enum class Take { Tick, Stopped, Ended };

    // Application thread, while the pin becomes active: empty, not stopped, not ended, no start.
    void Reset();
    // Application thread, when the stream runs: from now on ticks at or after `origin` are
    // kept. Only the first call after Reset counts, so that a pause does not restart the
    // stream's times.
    void Start(std::chrono::nanoseconds origin);
    // Any thread (the device's frame listener): keeps `tick` if the stream has started and the
    // tick is not before its start.
    void Post(const FrameTick& tick);
    // The stream is stopping: a waiting TakeNext returns Stopped, and so does every later one
    // until Reset.
    void Stop();
    // The device is gone: TakeNext returns Ended once the ticks kept are taken.
    void End();

    // Streaming thread: the thread takes no more ticks until the stream starts again (its
    // downstream refused a sample); WaitUntilSent returns at once until the next TakeNext.
    void Abandon();
    // Streaming thread: waits for the next tick. Calling it again says that the tick taken
    // before has been passed on.
    Take TakeNext(FrameTick* tick);
    // Any thread: waits, at most `timeout`, until every tick kept so far has been taken and
    // passed on (the streaming thread is back for the next), or the stream has stopped, ended,
    // been abandoned or not started. True when so. Lets a stepped device wait for its streams to
    // catch up.
    bool WaitUntilSent(std::chrono::milliseconds timeout);
    // The stream's start on device time, once started.
    std::optional<std::chrono::nanoseconds> Origin();

  private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::condition_variable sent_;
    // Guarded by mutex_.
    std::array<FrameTick, kCapacity> ring_{};
    std::size_t first_ = 0;
    std::size_t count_ = 0;
    std::optional<std::chrono::nanoseconds> origin_;
    bool stopped_ = false;
    bool ended_ = false;
    bool sending_ = false;    // the streaming thread holds a tick it has not passed on yet
    bool abandoned_ = false;  // the streaming thread takes no ticks until its next TakeNext
};

}  // namespace devices
