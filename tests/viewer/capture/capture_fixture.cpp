#include "tests/viewer/capture/capture_fixture.h"

#include "platform/com/object_base.h"
#include "platform/com/runtime.h"
#include "platform/devices/scenario.h"
#include "platform/media/runtime/media_runtime.h"
#include "viewer/settings/settings_key.h"

using namespace std::chrono_literals;

bool CountingPane::WaitForFrame() {
    // Wake-ups also come for new positions; only a frame taken counts.
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    for (;;) {
        if (Frames() > 0) return true;
        std::unique_lock lock(mutex_);
        const int seen = wakeUps_;
        if (!changed_.wait_until(lock, deadline, [&] { return wakeUps_ != seen; }))
            return Frames() > 0;
    }
}

bool CountingPane::WaitForMoreThan(int count) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    for (;;) {
        if (Frames() > count) return true;
        std::unique_lock lock(mutex_);
        const int seen = wakeUps_;
        if (!changed_.wait_until(lock, deadline, [&] { return wakeUps_ != seen; }))
            return Frames() > count;
    }
}

CaptureTest::CaptureTest() {
    EXPECT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    RegisterMediaRuntime();
    objectsBefore_ = com_module::ObjectCount();
}

CaptureTest::~CaptureTest() {
    FreeCaptureGraph();
    device_.reset();
    CloseSettingsKey();
    EXPECT_EQ(com_module::ObjectCount(), objectsBefore_) << "objects left alive after teardown";
    CoUninitialize();
}

void CaptureTest::Attach(std::string_view text) {
    devices::Scenario scenario;
    std::string error;
    ASSERT_TRUE(devices::ParseScenario(text, &scenario, &error)) << error;
    device_ = std::make_unique<devices::SimulatedDevice>(scenario, clock_);
}

void CaptureTest::Step(std::chrono::nanoseconds d) {
    const std::chrono::nanoseconds end = clock_->Now() + d;
    while (clock_->Now() < end) {
        clock_->Advance(std::min<std::chrono::nanoseconds>(40ms, end - clock_->Now()));
        Grabber().Update();
    }
}

PaneLayout CaptureTest::Layout(bool pane0) {
    PaneLayout layout{};
    for (int k = 0; k < 4; ++k) {
        layout.window[k] = k == 0 && !pane0 ? nullptr : &panes_[k];
        layout.rect[k] = RECT{0, 0, 320, 240};
    }
    return layout;
}

CaptureGraph* CaptureTest::BuildWithPanes(bool pane0) {
    CaptureGraph* record = GetCaptureGraph();
    EXPECT_NE(record, nullptr);
    if (!record) return nullptr;
    const PaneLayout layout = Layout(pane0);
    EXPECT_EQ(SetupPreviewPanes(record, &layout), S_OK);
    return record;
}
