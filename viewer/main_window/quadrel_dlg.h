// CQuadrelDlg: the main window. It draws the borderless skinned window of dialog 102 with its 27
// skinned buttons and four video panes, owns the six timers of the viewer, and dispatches button
// commands, timer ticks and device changes to the viewer's features, each of which keeps its own
// state: the channel views (viewer/channels), the lock (CViewerLock), the capture and the
// recording (viewer/capture), the timed snapshots (viewer/snapshots) and the alarms
// (viewer/alerts). It loads the settings and lets the features read them. It runs modally for the
// whole life of the program; only the Close button ends it.
//
// Everything here runs on the GUI thread. The pieces that wait for a person (message boxes, the
// login, the About box) go through the injected IPrompts, device events come from the injected
// simulated grabber and from udev, and timers are CWindowTimers, so a test drives the window by
// calling OnTimer, OnCommand and OnDeviceChange directly, and reads the features' state through
// their accessors.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPoint>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/ui/dialog.h"
#include "viewer/alerts/alarms.h"
#include "viewer/capture/capture_session.h"
#include "viewer/capture/recording.h"
#include "viewer/channels/channel_views.h"
#include "viewer/main_window/pane_wakeup.h"
#include "viewer/main_window/viewer_lock.h"
#include "viewer/settings/grabber_settings.h"
#include "viewer/snapshots/snapshots.h"
#include "viewer/snapshots/snapshots_host.h"
#include "viewer/snapshots/timed_snapshots.h"

class CControlButton;
class CDeviceNotification;
class CMessage;
class CVideoPane;
class IPrompts;
namespace devices {
class DeviceChangeListener;
class SimulatedGrabber;
}  // namespace devices

class CQuadrelDlg : public CDialog,
                    private IChannelViewsHost,
                    private ICaptureHost,
                    private ILockHost,
                    private IAlarmsHost,
                    private IRecordingHost,
                    private ISnapshotsHost {
    Q_OBJECT

  public:
    // What the window is given from outside; all not owned and outliving the window.
    struct Services {
        IPrompts* prompts = nullptr;                     // message boxes and modal dialogs
        devices::SimulatedGrabber* simulator = nullptr;  // arrivals and removals; null: none
        bool watchUdev = false;                          // real capture devices through udev
        // Each udev event's node, before the window handles the event; false keeps the event
        // from the window (may be empty).
        std::function<bool(UINT event, const std::string& node)> udevHook;
        // Given the window's listener for the capture hardware's own removal, and null before
        // the window stops listening (may be empty).
        std::function<void(devices::DeviceChangeListener* listener)> hardwareEvents;
        const storage::RecordingDisk* disk = nullptr;  // recordings' and snapshots' disk
        const RecordingClock* clock = nullptr;         // recordings' and snapshots' clock
        // (null disk or clock: the system's)
        const AlarmOptions* alarms = nullptr;   // alarm sound output, mail port; null: defaults
        int recordingSplitMiB = kSplitSizeMiB;  // the size at which a recording's file ends
    };

    explicit CQuadrelDlg(const Services& services, QWidget* parent = nullptr);
    // Stops the device events and frees the graph, then the skin.
    ~CQuadrelDlg() override;

    // ---- The features ----
    CChannelViews& Channels() { return channels_; }
    CCaptureSession& Capture() { return capture_; }
    CRecording& Recording() { return recording_; }
    CSnapshots& Snapshots() { return snapshots_; }
    CTimedSnapshots& TimedSnapshots() { return timedSnapshots_; }
    CAlarms& Alarms() { return alarms_; }
    CViewerLock& Lock() { return lock_; }

    // ---- Settings ----
    // Reloads the settings and tells the lock; the loader's result, 0 when the settings key is
    // unavailable (the settings are then all zero).
    int ReloadGrabberSettings() override;
    // The loaded settings; null before the start-up has loaded them.
    const GrabberSettings* Settings() const override { return settings_.get(); }

    // ---- Start-up and shutdown ----
    // The information pop-up with `text` (made on first use), and the pop-up (null before).
    void ShowMessage(const QString& text);
    const CMessage* Message() const { return message_; }
    // Once per window, after it shows: a warning when the settings could not be read in full
    // (a damaged settings file, or one that cannot be read, so that the defaults are used).
    // Queued by the start-up; a test may call it itself.
    void TellSettingsProblem();
    // The Close button's work after its login: timers, recording and graph stopped and freed,
    // the settings key closed, the dialog ended.
    void CloseViewer();

    // ---- Device changes ----
    // An arrival (0x8000) or removal (0x8004) with its device-interface broadcast record; true
    // when it was a USB capture device and was handled, false for default processing.
    bool OnDeviceChange(UINT event, const void* record, std::size_t size);
    void OnDeviceArrival();
    void OnDeviceRemoved();

    // ---- Timers and messages ----
    void OnTimer(UINT id) override;
    void SearchTick();
    // WM_SIGNAL_RESET: a new signal baseline and search poll. PostSignalReset queues it.
    void OnSignalReset();
    void PostSignalReset();
    // Button commands and the system menu's About entry.
    void OnCommand(int id, int code) override;
    void OnSysCommand(UINT command);

    // ---- Controls ----
    CControlButton* Button(int id) const;
    // Pane k (0 to 3) shows channel k + 1.
    CVideoPane* Pane(int k) const { return panes_[static_cast<std::size_t>(k)]; }
    // Latches or unlatches a skinned button and repaints it.
    void SetLatched(int id, bool latched);
    bool IsLatched(int id) const;
    IPrompts& Prompts() const override { return *services_.prompts; }

  protected:
    void OnInitDialog() override;
    // Enter, Escape and the window's close box do not end the viewer.
    void OnOK() override;
    void OnCancel() override;
    QWidget* CreateControl(const ControlTemplate& control, QWidget* parent) override;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // Start-up steps.
    void SkinWindow();
    void SkinButtons();
    void RegisterDeviceEvents();
    // The pane (0 to 3) strictly containing `point` in client coordinates, or -1.
    int PaneAt(QPoint point) const;
    void ShowItem(int id, bool show);
    void ClearPanes();

    // Buttons of this window's own actions.
    void OnUnlock();
    void OnClose();
    void OnHelp();
    // Buttons of the display and device settings.
    void OnSearch();
    void OnShowStamp();
    void OnVolume(bool on);
    // The channel setting dialog; after its OK the settings are reloaded, the alarms cleared
    // and the channel configuration given to the graph and the device.
    void OnChannelSetting();
    // The channel setting dialog's Reset: a new signal search on the running capture, and
    // WM_SIGNAL_RESET queued.
    void ResetSignalSearch();
    // The system setting dialog, while a capture runs.
    void OnSystemSetting();
    void OnProperty();

    // ---- What the features may ask of the window (GUI thread, from inside their operations) ----
    // IChannelViewsHost and IAlarmsHost
    CaptureGraph* Graph() const override { return capture_.Graph(); }
    std::int32_t BaselineSignalMask() const override { return alarms_.Masks().baseline; }
    bool RecordingRuns() const override { return recording_.Recording(); }
    bool EnsureUnlocked() override { return lock_.EnsureUnlocked(); }
    RECT PaneRect(int k) const override;
    bool PaneShown(int k) const override;
    void PlacePane(int k, const std::optional<RECT>& rect, bool shown) override;
    PaneLayout PreviewPanes() const override;
    QSize PaneSize(int k) const override;
    void SetPanePicture(int k, const QImage& picture) override;
    void RepaintWindow() override;
    void RepaintPane(int k) override;
    void LatchChannelButton(int channel, bool latched) override;
    void LatchDeviceMode(bool cycling) override;
    std::uint32_t EnabledChannels() const override { return channels_.EnabledChannels(); }
    void PaintPanePictures(const channel_views::PanePictures& pictures) override;
    void ShowAlarmButton(bool shown) override;
    // ICaptureHost
    void OnSearchStarted() override;
    void OnGraphRunning() override;
    void OnManualChannelsSet() override;
    void ApplyChannelControl() override;
    void OnCaptureStarted() override;
    // IRecordingHost
    int RecordingMessageBox(const QString& text, const QString& caption, UINT type) override;
    int CurrentChannel() const override { return channels_.Channel(); }
    void ShowChannel(int channel) override { channels_.ShowChannel(channel); }
    int SelectDeviceChannel(int channel) override { return channels_.SelectDeviceChannel(channel); }
    void ArmRecordingTimers(UINT spaceMs, UINT sizeMs) override;
    void KillRecordingTimers() override;
    void ShowRecordingControls(bool recording) override;
    // ISnapshotsHost
    int SnapshotMessageBox(const QString& text, const QString& caption, UINT type) override;
    void SetSnapTimer(UINT milliseconds) override;
    void KillSnapTimer() override;
    void LatchTimerSnap(bool latched) override;
    bool TimerSnapLatched() const override;
    bool RunScheduleDialog() override;
    // ILockHost
    QWidget* PromptOwner() override { return this; }
    void ShowLockButtons(bool locked) override;

    // The injected disk and clock, or the system's.
    const storage::RecordingDisk& Disk() const {
        return services_.disk ? *services_.disk : storage::RecordingDisk::System();
    }
    const RecordingClock& Clock() const {
        return services_.clock ? *services_.clock : RecordingClock::System();
    }

    const Services services_;
    // GUI thread only, like everything of the window.
    // Controls and artwork.
    QIcon icon_;
    std::unique_ptr<QImage> skin_;        // bitmap 216; the buttons paint their background from it
    std::array<CVideoPane*, 4> panes_{};  // children
    CMessage* message_ = nullptr;         // child, made by the first ShowMessage
    std::unique_ptr<CDeviceNotification> devNotify_;
    // The settings this window loads; the features read them through Settings().
    std::unique_ptr<GrabberSettings> settings_;
    // The features; each keeps its own state and reaches the window through its host interface.
    CViewerLock lock_{*this};
    CCaptureSession capture_{*this};
    // Brings the end of the start-up repair of recordings to the GUI thread; declared before
    // the recording, whose repair worker wakes it, so that it outlives the worker.
    PaneWakeup repairWakeup_{[this] { recording_.FinishRepairs(); }};
    CRecording recording_{*this, Disk(), Clock(), services_.recordingSplitMiB};
    CSnapshots snapshots_{*this, Disk(), Clock()};
    CTimedSnapshots timedSnapshots_{*this, snapshots_, Clock()};
    CAlarms alarms_{*this, services_.alarms ? *services_.alarms : AlarmOptions{}};
    CChannelViews channels_{*this};
    bool settingsProblemTold_ = false;
    // Manual drag of the borderless window where the window system cannot move it.
    bool dragging_ = false;
    QPoint dragOffset_;
};
