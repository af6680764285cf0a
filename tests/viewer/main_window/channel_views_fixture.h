// The main window with the simulated grabber, unlocked, for the channel-view tests: the device's
// own state (mode and input) is read from the simulated hardware, the panes' places from the
// widgets, the pictures from the panes.
#pragma once

#include <QRect>

#include "tests/viewer/main_window/main_window_fixture.h"
#include "viewer/channels/pane_picture_render.h"
#include "viewer/main_window/video_pane.h"

namespace main_window_test {

class ChannelViewsTest : public MainWindowTest {
  protected:
    // Manual channel control with the channels of `enabled` (bit n - 1: channel n) enabled.
    static void EnableOnly(std::uint32_t enabled) {
        SetDword(setting::kChannelControlMode, 1);
        for (int k = 0; k < 4; ++k) SetDword(setting::kChannelEnable[k], (enabled >> k) & 1u);
    }

    // Opens the window on the grabber with `scenario`, lets the signal search end and logs in.
    void OpenUnlocked(std::string_view scenario) {
        Attach(scenario);
        Open();
        ASSERT_NE(window_->Capture().Graph(), nullptr);
        StepTo(std::chrono::seconds(3));
        window_->OnTimer(ID_TIMER_SEARCH);
        LogInNow();
    }
    CChannelViews& Views() { return window_->Channels(); }

    devices::GrabberStatus Device() { return device_->Grabber().Status(); }
    bool DeviceFixedOn(int input) {
        const devices::GrabberStatus status = Device();
        return !status.cycling && status.input == input;
    }
    CVideoPane* Pane(int channel) const { return window_->Pane(channel - 1); }
    QRect PaneRect(int channel) const { return Pane(channel)->geometry(); }
    bool PaneShown(int channel) const { return Pane(channel)->isVisibleTo(window_.get()); }
    static QRect ToQRect(const RECT& r) {
        return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    // The channel buttons that are latched, as a mask.
    std::uint32_t LatchedChannels() const {
        std::uint32_t mask = 0;
        for (int n = 1; n <= 4; ++n)
            if (Latched(IDC_CHANNEL1 + n - 1)) mask |= 1u << (n - 1);
        return mask;
    }
    // A double click of the left button in the middle of the pane of `channel`.
    void DoubleClickPane(int channel);
};

}  // namespace main_window_test
