// The main window with the simulated grabber, unlocked, on a disk and a clock the test sets, with
// a save folder of the test's own, for the snapshot and timed-snapshot tests.
#pragma once

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/utf16.h"
#include "platform/media/interfaces/ivmr_windowless_control9.h"
#include "tests/viewer/main_window/channel_views_fixture.h"
#include "tests/viewer/main_window/disk_and_clock_fakes.h"

namespace main_window_test {

class SnapshotTest : public ChannelViewsTest {
  protected:
    void SetUp() override {
        ChannelViewsTest::SetUp();
        recordingDisk_ = &disk_;
        recordingClock_ = &clock_;
        folder_ = files_.Path() + "/pictures/";  // made by the first snapshot
        SetString(setting::kSaveFilePath, utf16::FromUtf8(folder_).c_str());
    }

    // Opens the window unlocked on `scenario` and waits until the renderer of every channel in
    // `live` holds a picture.
    void OpenWithPictures(std::string_view scenario, std::initializer_list<int> live) {
        OpenUnlocked(scenario);
        StepTo(std::chrono::seconds(6));
        for (const int channel : live) ASSERT_TRUE(WaitForPicture(channel)) << channel;
    }

    // The renderer's picture arrives on its streaming thread: a bounded wait for it.
    bool WaitForPicture(int channel) {
        CaptureGraph* graph = window_->Capture().Graph();
        if (!graph || !graph->renderers[channel - 1]) return false;
        ComPtr<IVMRWindowlessControl9> control;
        if (graph->renderers[channel - 1].As(&control) != S_OK) return false;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            BYTE* dib = nullptr;
            if (control->GetCurrentImage(&dib) == S_OK) {
                CoTaskMemFree(dib);
                return true;
            }
            std::this_thread::yield();
        }
        return false;
    }

    // The JPEG files in `folder` (the save folder by default), by name, once every snapshot
    // taken so far is written.
    std::vector<std::string> Pictures(const std::string& folder = {}) {
        window_->Snapshots().WaitForWrites();
        std::vector<std::string> names;
        const std::string dir = folder.empty() ? folder_ : folder;
        if (!std::filesystem::is_directory(dir)) return names;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            if (entry.path().extension() == ".jpg") names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    bool IndicatorShown() const {
        const CaptureGraph* graph = window_->Capture().Graph();
        return graph && graph->showSnapIcon;
    }
    UINT Period(UINT timer) const {
        const QTimer* t = window_->Timers().Find(timer);
        return t && t->isActive() ? static_cast<UINT>(t->interval()) : 0;
    }
    int TimerId(UINT timer) const {
        const QTimer* t = window_->Timers().Find(timer);
        return t ? t->timerId() : -1;
    }
    void Tick() { window_->OnTimer(ID_TIMER_SNAP); }

    testing_support::TempDir files_;
    FakeDisk disk_;
    FakeClock clock_;
    std::string folder_;
};

}  // namespace main_window_test
