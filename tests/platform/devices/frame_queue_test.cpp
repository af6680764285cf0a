#include "platform/devices/frame_queue.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using std::chrono::nanoseconds;
using Take = devices::FrameQueue::Take;

devices::FrameTick TickAt(std::uint64_t frame, nanoseconds time) {
    devices::FrameTick tick;
    tick.frame = frame;
    tick.time = time;
    return tick;
}

TEST(FrameQueueTest, KeepsTicksFromTheFirstStartOnAndDropsTheOldestWhenFull) {
    devices::FrameQueue queue;
    queue.Reset();
    queue.Post(TickAt(1, nanoseconds(100)));  // not started: dropped
    EXPECT_FALSE(queue.Origin());
    queue.Start(nanoseconds(200));
    queue.Start(nanoseconds(900));  // a pause and run again keeps the first start
    ASSERT_EQ(queue.Origin(), nanoseconds(200));
    queue.Post(TickAt(2, nanoseconds(150)));  // before the start: dropped
    for (std::uint64_t frame = 3; frame < 3 + devices::FrameQueue::kCapacity + 2; ++frame)
        queue.Post(TickAt(frame, nanoseconds(200 + frame)));

    // Ten ticks went into eight slots: the two oldest are gone, the rest come out in order.
    devices::FrameTick tick;
    for (std::uint64_t expected = 5; expected < 13; ++expected) {
        ASSERT_EQ(queue.TakeNext(&tick), Take::Tick);
        EXPECT_EQ(tick.frame, expected);
    }
    queue.Stop();
    EXPECT_EQ(queue.TakeNext(&tick), Take::Stopped);
}

TEST(FrameQueueTest, StopWinsOverKeptTicksAndEndComesAfterThem) {
    devices::FrameQueue queue;
    queue.Reset();
    queue.Start(nanoseconds(0));
    queue.Post(TickAt(1, nanoseconds(10)));
    queue.Stop();
    devices::FrameTick tick;
    EXPECT_EQ(queue.TakeNext(&tick), Take::Stopped);
    EXPECT_EQ(queue.TakeNext(&tick), Take::Stopped);  // until Reset

    queue.Reset();  // empty again, not stopped, no start
    EXPECT_FALSE(queue.Origin());
    queue.Start(nanoseconds(0));
    queue.Post(TickAt(2, nanoseconds(10)));
    queue.Post(TickAt(3, nanoseconds(20)));
    queue.End();
    queue.Post(TickAt(4, nanoseconds(30)));  // the device is gone: nothing more is kept
    ASSERT_EQ(queue.TakeNext(&tick), Take::Tick);
    EXPECT_EQ(tick.frame, 2u);
    ASSERT_EQ(queue.TakeNext(&tick), Take::Tick);
    EXPECT_EQ(tick.frame, 3u);
    EXPECT_EQ(queue.TakeNext(&tick), Take::Ended);
}

TEST(FrameQueueTest, SentOnlyOnceTheStreamingThreadIsBackForTheNextTick) {
    devices::FrameQueue queue;
    queue.Reset();
    EXPECT_TRUE(queue.WaitUntilSent(std::chrono::milliseconds(0)));  // not started
    queue.Start(nanoseconds(0));
    queue.Post(TickAt(1, nanoseconds(10)));
    EXPECT_FALSE(queue.WaitUntilSent(std::chrono::milliseconds(0)));  // kept, not taken
    devices::FrameTick tick;
    ASSERT_EQ(queue.TakeNext(&tick), Take::Tick);
    // Taken but not passed on yet: the streaming thread has not asked for the next one.
    EXPECT_FALSE(queue.WaitUntilSent(std::chrono::milliseconds(0)));

    Take last = Take::Tick;
    std::thread streaming([&] { last = queue.TakeNext(&tick); });  // comes back, then waits
    EXPECT_TRUE(queue.WaitUntilSent(std::chrono::seconds(30)));
    queue.Stop();
    streaming.join();
    EXPECT_EQ(last, Take::Stopped);
    EXPECT_TRUE(queue.WaitUntilSent(std::chrono::milliseconds(0)));

    // A stream whose downstream refused a sample takes no more: nothing is left to wait for,
    // until it takes a tick again.
    queue.Reset();
    queue.Start(nanoseconds(0));
    queue.Post(TickAt(2, nanoseconds(10)));
    queue.Post(TickAt(3, nanoseconds(20)));
    ASSERT_EQ(queue.TakeNext(&tick), Take::Tick);
    queue.Abandon();
    EXPECT_TRUE(queue.WaitUntilSent(std::chrono::milliseconds(0)));
    ASSERT_EQ(queue.TakeNext(&tick), Take::Tick);
    EXPECT_FALSE(queue.WaitUntilSent(std::chrono::milliseconds(0)));
}

}  // namespace
