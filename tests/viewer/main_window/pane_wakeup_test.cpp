// The pane's wake-up: calls from another thread reach the GUI thread as one callback per batch.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <thread>

#include "viewer/main_window/pane_wakeup.h"

namespace {

TEST(PaneWakeupTest, WakeUpsFromAnotherThreadFoldIntoOneCallbackOnTheGuiThread) {
    int calls = 0;
    std::thread::id caller;
    PaneWakeup wakeup([&] {
        ++calls;
        caller = std::this_thread::get_id();
    });
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 0);  // nothing before a wake-up

    std::thread streaming([&] {
        for (int i = 0; i < 3; ++i) wakeup.Wake();
    });
    streaming.join();
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(caller, std::this_thread::get_id());
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 1);  // the batch was taken

    wakeup.Wake();
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 2);
}

}  // namespace
