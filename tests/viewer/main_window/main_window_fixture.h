// A main window on a private registry, with scripted prompts and, when a test attaches one, the
// simulated grabber on a clock the test steps. Device events reach the window through the Qt
// event queue exactly as in the program; Deliver() runs what is queued.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "platform/com/runtime.h"
#include "platform/devices/device_broadcast.h"
#include "platform/devices/scenario.h"
#include "platform/devices/simulated_device.h"
#include "platform/media/runtime/media_runtime.h"
#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "platform/ui/scripted_prompts.h"
#include "tests/support/temp_dir.h"
#include "viewer/capture/capture_graph.h"
#include "viewer/main_window/login_dialog.h"
#include "viewer/main_window/main_dialog_ids.h"
#include "viewer/main_window/quadrel_dlg.h"
#include "viewer/resources/resources.h"
#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"

namespace main_window_test {

inline const QString kFirstRunNotice =
    QStringLiteral("默认密码位空, 请在系统设置窗口中设置新密码!");

// A broadcast record of a capture-class device interface with the given class and path.
inline devices::DeviceBroadcast Record(std::u16string_view path,
                                       const GUID& interfaceClass = devices::KSCATEGORY_CAPTURE) {
    return devices::DeviceBroadcast(interfaceClass, path);
}

class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        resources::Init();
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        RegisterMediaRuntime();
    }

    void TearDown() override {
        window_.reset();
        device_.reset();
        FreeCaptureGraph();
        CloseSettingsKey();
        CoUninitialize();
    }

    // Attaches the simulated grabber with `scenario` before the window opens.
    void Attach(std::string_view scenario) {
        devices::Scenario parsed;
        std::string error;
        ASSERT_TRUE(devices::ParseScenario(scenario, &parsed, &error)) << error;
        device_ = std::make_unique<devices::SimulatedDevice>(parsed, clock_);
    }

    // Opens the window (its start-up runs as when it is shown). Without `deviceEvents` the
    // window is not told of the grabber's arrivals and removals.
    void Open(bool deviceEvents = true) {
        CQuadrelDlg::Services services;
        services.prompts = &prompts_;
        services.simulator = device_ && deviceEvents ? &device_->Grabber() : nullptr;
        services.disk = recordingDisk_;
        services.clock = recordingClock_;
        services.alarms = alarmOptions_;
        services.hardwareEvents = hardwareEvents_;
        window_ = std::make_unique<CQuadrelDlg>(services);
        window_->Create();
    }

    // Writes a setting before the window reads it (the first call writes the defaults).
    static void SetDword(LPCWSTR name, DWORD value) {
        ASSERT_TRUE(WriteSettingDword(OpenSettingsKey(), name, value));
    }
    static void SetString(LPCWSTR name, LPCWSTR value) {
        ASSERT_TRUE(WriteSettingString(OpenSettingsKey(), name, value));
    }

    // Moves the grabber's clock to `t`, lets it catch up and delivers what it queued.
    void StepTo(std::chrono::nanoseconds t) {
        clock_->Set(t);
        device_->Grabber().Update();
        Deliver();
    }
    static void Deliver() { QCoreApplication::sendPostedEvents(); }

    // Plays the login dialog: types `user` and `password` and presses OK once.
    void PlayLogin(const QString& user, const QString& password) {
        prompts_.PlayModal([user, password](QDialog& dialog) {
            SetDlgItemText(&dialog, IDC_LOGIN_USER, user);
            SetDlgItemText(&dialog, IDC_LOGIN_PASSWORD, password);
            ClickDlgButton(&dialog, IDOK);
        });
    }
    // The first-run notice is answered, then the default account logs in.
    void PlayFirstLogin() {
        prompts_.AnswerMessageBox(IDOK);
        PlayLogin(QStringLiteral("Admin"), QString());
    }
    // Right after Open: the default account logs in at the gate as a user would, the first-run
    // notice answered; the prompts of that are forgotten.
    void LogInNow() {
        PlayFirstLogin();
        ASSERT_TRUE(window_->Lock().EnsureUnlocked());
        prompts_ = CScriptedPrompts();
    }
    // Right after Open: the first-run notice comes and goes with a login that is cancelled, so
    // the viewer stays locked; the prompts of that are forgotten.
    void PassFirstRunNotice() {
        prompts_.AnswerMessageBox(IDOK);
        prompts_.PlayModal([](QDialog& dialog) { ClickDlgButton(&dialog, IDCANCEL); });
        ASSERT_FALSE(window_->Lock().EnsureUnlocked());
        prompts_ = CScriptedPrompts();
    }

    void Click(int id) { window_->OnCommand(id, BN_CLICKED); }
    bool Running(UINT timer) const { return window_->Timers().IsRunning(timer); }
    bool Shown(int id) const { return IsDlgItemShown(window_.get(), id); }
    bool Latched(int id) const { return window_->IsLatched(id); }
    bool Locked() const { return window_->Lock().Locked(); }

    bool DeviceChange(UINT event, const devices::DeviceBroadcast& record) {
        return window_->OnDeviceChange(event, record.Bytes(), record.Size());
    }

    testing_support::TempRegistry registry_;
    CScriptedPrompts prompts_;
    std::shared_ptr<devices::ManualDeviceClock> clock_ =
        std::make_shared<devices::ManualDeviceClock>();
    std::unique_ptr<devices::SimulatedDevice> device_;
    // The recording's disk and clock (null: the system's); set before Open.
    const storage::RecordingDisk* recordingDisk_ = nullptr;
    const RecordingClock* recordingClock_ = nullptr;
    // The alarm sound's output and the mail port (null: the program's); set before Open.
    const AlarmOptions* alarmOptions_ = nullptr;
    // Given the window's listener for the capture hardware's own removal; set before Open.
    std::function<void(devices::DeviceChangeListener*)> hardwareEvents_;
    std::unique_ptr<CQuadrelDlg> window_;
};

}  // namespace main_window_test
