// A capture graph around the simulated grabber on a stepped clock, with four recording panes.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/devices/simulated_device.h"
#include "platform/media/renderers/video_pane_window.h"
#include "tests/support/temp_dir.h"
#include "viewer/capture/capture_graph.h"

// A pane that counts the frames handed to it.
class CountingPane final : public VideoPaneWindow {
  public:
    ~CountingPane() override { DetachVideo(); }
    SIZE ClientSize() const override { return {320, 240}; }
    void FrameReady() override {
        std::lock_guard lock(mutex_);
        ++wakeUps_;
        changed_.notify_all();
    }
    // Frames taken so far (each wake-up may stand for several frames).
    int Frames() {
        while (TakeFrame()) ++frames_;
        return frames_;
    }
    // Waits (bounded) until a frame has arrived; true when one did.
    bool WaitForFrame();
    // Waits (bounded) until more than `count` frames have arrived in all; true when they did.
    bool WaitForMoreThan(int count);

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int wakeUps_ = 0;
    int frames_ = 0;
};

class CaptureTest : public ::testing::Test {
  protected:
    CaptureTest();
    ~CaptureTest() override;

    void Attach(std::string_view scenario);
    devices::SimulatedGrabber& Grabber() { return device_->Grabber(); }
    // Moves the device clock forward by `d` in frame steps, letting the device catch up.
    void Step(std::chrono::nanoseconds d);
    // Builds the graph and gives it the four panes (a null entry detaches that pane).
    CaptureGraph* BuildWithPanes(bool pane0 = true);
    PaneLayout Layout(bool pane0 = true);

    testing_support::TempRegistry registry_;
    testing_support::ScopedEnv silentAudio_{"QUADREL_AUDIO_DEVICE", "none"};
    std::shared_ptr<devices::ManualDeviceClock> clock_ =
        std::make_shared<devices::ManualDeviceClock>();
    std::unique_ptr<devices::SimulatedDevice> device_;
    CountingPane panes_[4];
    long objectsBefore_ = 0;
};
