// CQuadrelDlg: the main window, the hub of the viewer. It draws the borderless skinned window of
// dialog 102 with its 27 skinned buttons and four video panes, owns the state every viewer part
// shares (the capture graph pointer, the settings and alarm records, layout and channel, the
// signal masks), starts and stops the capture, reacts to capture devices arriving and leaving,
// runs the six timers of the viewer through OnTimer, and keeps the controls locked behind the
// login. It runs modally for the whole life of the program; only the Close button ends it.
//
// Everything here runs on the GUI thread. The pieces that wait for a person (message boxes, the
// login, the About box) go through the injected IPrompts, device events come from the injected
// simulated grabber and from udev, and timers are CWindowTimers, so a test drives the window by
// calling OnTimer, OnCommand and OnDeviceChange directly.
#pragma once

#include <QDateTime>
#include <QIcon>
#include <QImage>
#include <QPoint>
#include <array>
#include <cstdint>
#include <memory>

#include "platform/base/bitmap.h"
#include "platform/ui/dialog.h"
#include "viewer/capture/capture_graph.h"
#include "viewer/channels/pane_pictures.h"
#include "viewer/main_window/alarm_state.h"
#include "viewer/settings/grabber_settings.h"

class CControlButton;
class CDeviceNotification;
class CMessage;
class CVideoPane;
class IPrompts;
class QPainter;
namespace devices {
class SimulatedGrabber;
}

class CQuadrelDlg : public CDialog {
    Q_OBJECT

  public:
    // What the window is given from outside; all not owned and outliving the window.
    struct Services {
        IPrompts* prompts = nullptr;                     // message boxes and modal dialogs
        devices::SimulatedGrabber* simulator = nullptr;  // arrivals and removals; null: none
        bool watchUdev = false;                          // real capture devices through udev
    };

    explicit CQuadrelDlg(const Services& services, QWidget* parent = nullptr);
    // Releases the graph if one is left, then the skin, the records and the pop-up.
    ~CQuadrelDlg() override;

    // ---- Start-up, capture and shutdown ----
    // 0 success or capture already running; 1 no capture device; 2 the graph cannot be built,
    // run or configured; 3 the settings key or a channel name cannot be read.
    int StartCapture();
    int ConfigureCapture();
    int BuildGraph();
    // Reloads m_pSettings and restarts the automatic-lock countdown; the loader's result, 0
    // when the settings key is unavailable.
    int ReloadGrabberSettings();
    // The information pop-up with `text` (made on first use).
    void ShowMessage(const QString& text);
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

    // ---- Lock and login ----
    // The gate of every protected action: the first-run notice once, then the login while
    // locked. True when the controls are unlocked.
    bool EnsureUnlocked();
    void LockViewer();
    // One 3-second step of the automatic lock; 1 when it has just locked.
    int TickAutoLock();

    // ---- Channel views (layouts, panes, device mode) ----
    // The layout rectangles from the panes' places; once, while the panes are at their start-up
    // places.
    void ComputeLayoutRects();
    // Layout 1 single, 3 big and small, 4 quad: 0 done (m_layout = style); 4 no capture; 5 no
    // such layout; 6 the panes could not be given to the graph.
    int ApplyLayout(int style);
    // Each places the panes, gives them to the graph (false when that fails) and makes the
    // current channel's view again; single view puts the device in fixed mode on that channel.
    bool LayoutSingle();
    bool LayoutBigSmall();
    bool LayoutQuad();
    // Makes `channel` (0 to 4; 0 the lowest enabled) current in the view without switching the
    // device: frames, pane pictures and the latched channel button. Disabled channels hand on
    // forward to the next one.
    void ShowChannel(int channel);
    // Fixed mode on `channel`, or for 0 on the lowest channel with a signal; the channel
    // selected, 0 when none.
    int SelectDeviceChannel(int channel);
    // The hardware's own round-robin over the valid inputs (ON latched, OFF not).
    void EnterCyclingMode();
    // 0 done; E_FAIL no graph; 3 settings key unavailable; 2 no device-control object.
    int ApplyChannelControl();
    // The frames around the panes: red round the pane of `channel`, blue round the others
    // (only the current pane in single view); drawn on the window while a capture runs.
    void DrawPaneFrames(int channel);
    // Pane pictures: "Channel n Close" over each disabled channel; "No Signal" over each
    // enabled channel whose bit is clear in `mask`; "Lost Signal" over each enabled channel
    // whose bit is clear in `mask` and set in baselineSignalMask (once a baseline is taken).
    void DrawClosedPanes();
    void DrawNoSignalPanes(std::uint32_t mask);
    void DrawLostSignalPanes(std::uint32_t mask);
    // A click and a double click on the pane of `channel`, after the gate has passed.
    void OnPaneClick(int channel);
    void OnPaneDoubleClick(int channel);
    // The channel whose pane is framed red (0: all blue); -1 before the first frames.
    int FramedChannel() const { return framedChannel_; }

    // ---- Alarms ----
    std::uint32_t PollSignalLoss();
    void RaiseAlarm(std::uint32_t mask);

    // ---- Controls ----
    CControlButton* Button(int id) const;
    // Pane k (0 to 3) shows channel k + 1.
    CVideoPane* Pane(int k) const { return m_panes[static_cast<std::size_t>(k)]; }
    // Latches or unlatches a skinned button and repaints it.
    void SetLatched(int id, bool latched);
    bool IsLatched(int id) const;
    IPrompts& Prompts() const { return *services_.prompts; }

    // ---- State shared by the viewer's parts (GUI thread only) ----
    // Bitmap 297 as the 24-bit BITMAP the preview stamp copies; null until loaded.
    struct SnapIcon {
        QImage pixels;  // blue, green, red per pixel
        BITMAP bitmap{};
    };
    std::unique_ptr<SnapIcon> m_hSnapIcon;
    QIcon m_hIcon;
    CaptureGraph* m_pGraph = nullptr;  // the capture-graph singleton; not owned
    RECT m_rcFull{};
    RECT m_rcBig{};
    RECT m_rcSmall[3]{};
    RECT m_rcQuad[4]{};
    int m_layout = 4;   // 1 single, 3 big and small, 4 quad
    int m_channel = 1;  // 1 to 4, 0 none
    WCHAR m_recordPath[260] = {};
    bool m_recording = false;
    QDateTime m_snapWindowStart;  // the timed-snapshot window
    QDateTime m_snapWindowEnd;
    std::array<CVideoPane*, 4> m_panes{};  // children
    std::unique_ptr<GrabberSettings> m_pSettings;
    std::unique_ptr<AlarmState> m_pAlarm;
    std::unique_ptr<std::int32_t> m_pVolumeOn;
    std::unique_ptr<QImage> m_pSkin;  // bitmap 216; the buttons paint their background from it
    QSize m_skinSize;
    std::unique_ptr<CDeviceNotification> m_hDevNotify;
    CMessage* m_pMessage = nullptr;  // child, made by the first ShowMessage
    std::int32_t seenSignalMask = -1;
    std::int32_t baselineSignalMask = -1;
    std::int32_t m_snapPeriod = 0;

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

    // Buttons of the channel views.
    void OnChannelButton(int channel);
    void OnStyle(int style);
    void OnCyclingOn();
    void OnCyclingOff();
    void OnSearch();
    void OnShowStamp();
    void OnVolume(bool on);
    void OnChannelSetting();
    void OnProperty();
    // Moves and shows the panes as `placement` says and gives them to the graph.
    bool PlaceAndAttachPanes(int layout);
    void PaintPaneFrames(QPainter& painter) const;
    // Paints each pane's picture (none: the pane is left as it is).
    void PaintPanePictures(const channel_views::PanePictures& pictures);
    // The enabled channels of the settings (none without settings).
    std::uint32_t EnabledChannels() const;
    // The clearing steps of ClearAlarm without its gate.
    void ResetAlarms();
    void StopAlarmSound();
    // Recording and timed snapshots.
    void StopRecording(bool restoreState);
    void CheckRecordingSpace();
    void CheckRecordingSize();
    void OnSnapTimer();
    void LoadSnapshotWindow();
    void ReadScheduleWindow();

    const Services services_;
    int framedChannel_ = -1;  // the pane framed red; 0 none, -1 no frames drawn
    // Manual drag of the borderless window where the window system cannot move it.
    bool dragging_ = false;
    QPoint dragOffset_;
};
