// Starting the capture (the graph around the grabber, its panes, titles and device settings),
// reloading the settings, and the Close button's shutdown.
#include "platform/ui/dialog_codes.h"
#include "viewer/capture/device_commands.h"
#include "viewer/capture/preview_stamp.h"
#include "viewer/main_window/main_dialog_ids.h"
#include "viewer/main_window/quadrel_dlg.h"
#include "viewer/main_window/video_pane.h"
#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"

namespace {

// A channel name of at most 512 bytes, terminator included.
constexpr std::size_t kChannelNameUnits = 256;
constexpr DWORD kManualChannelControl = 1;

}  // namespace

int CQuadrelDlg::StartCapture() {
    if (m_pGraph) return 0;
    const int result = ConfigureCapture();
    if (result != 0) return result;
    m_pGraph->snapIcon = m_hSnapIcon ? &m_hSnapIcon->bitmap : nullptr;
    EnterCyclingMode();
    SetLatched(IDC_SHOW_STAMP, true);
    ReadScheduleWindow();
    return 0;
}

int CQuadrelDlg::ConfigureCapture() {
    SettingsKeyHolder* holder = OpenSettingsKey();
    if (!holder) return 3;
    const int built = BuildGraph();
    if (built != 0) return built;

    WCHAR names[4][kChannelNameUnits];
    for (int k = 0; k < 4; ++k)
        if (!ReadSettingString(holder, setting::kChannelName[k], names[k], kChannelNameUnits))
            return 3;
    for (int k = 0; k < 4; ++k) SetChannelTitle(m_pGraph, names[k], k);

    DWORD mode = kManualChannelControl;
    ReadSettingDword(holder, setting::kChannelControlMode, &mode);
    if (mode == kManualChannelControl) {
        const std::int32_t* enabled = m_pSettings ? m_pSettings->channelEnabled : nullptr;
        const auto on = [enabled](int k) { return enabled && enabled[k] ? 1 : 0; };
        if (FAILED(SetValidChannels(m_pGraph, on(0), on(1), on(2), on(3)))) return 2;
        ShowChannel(m_channel);
        DrawClosedPanes();
    } else if (FAILED(SetValidChannels(m_pGraph, 1, 1, 1, 1))) {
        return 2;
    }
    ApplyChannelControl();
    SetRecordQuality(m_pGraph, 0);
    return 0;
}

int CQuadrelDlg::BuildGraph() {
    if (m_pGraph) return 0;
    if (!CaptureDevicesPresent()) return 1;
    m_pGraph = GetCaptureGraph();
    if (!m_pGraph) return 2;

    PaneLayout layout{};
    for (std::size_t k = 0; k < m_panes.size(); ++k) {
        layout.window[k] = m_panes[k];
        layout.rect[k] =
            m_panes[k] ? RECT{0, 0, m_panes[k]->width(), m_panes[k]->height()} : RECT{0, 0, 0, 0};
    }
    if (FAILED(SetupPreviewPanes(m_pGraph, &layout))) return 2;
    if (!m_pGraph->device) return 2;

    StartSearch(m_pGraph);
    seenSignalMask = -1;
    baselineSignalMask = -1;
    SetTimer(ID_TIMER_SEARCH, kSearchPeriodMs);

    if (FAILED(RunGraph(m_pGraph))) return 2;
    SetTimer(ID_TIMER_STAMP, kStampPeriodMs);
    return 0;
}

int CQuadrelDlg::ReloadGrabberSettings() {
    if (!m_pSettings) m_pSettings = std::make_unique<GrabberSettings>();
    *m_pSettings = GrabberSettings{};
    SettingsKeyHolder* holder = OpenSettingsKey();
    if (!holder) return 0;
    const int result = LoadGrabberSettings(m_pSettings.get(), holder);
    m_pAlarm->lockCountdown = m_pSettings->autoLockSeconds;
    return result;
}

void CQuadrelDlg::OnClose() {
    if (!EnsureUnlocked()) return;
    CloseViewer();
}

void CQuadrelDlg::CloseViewer() {
    if (m_pGraph) {
        KillTimer(ID_TIMER_STAMP);
        KillTimer(ID_TIMER_SNAP);
        m_snapPeriod = 0;
        if (m_recording) {
            KillTimer(ID_TIMER_DISKSPACE);
            KillTimer(ID_TIMER_FILESIZE);
            SetLatched(IDC_RECORDER, false);
            StopRecording(true);
            m_recording = false;
        }
        KillTimer(ID_TIMER_SEARCH);
        FreeCaptureGraph();
        m_pGraph = nullptr;
        ClearPanes();
    }
    KillTimer(ID_TIMER_WATCH);
    CloseSettingsKey();
    EndDialog(IDOK);
}

void CQuadrelDlg::ClearPanes() {
    for (CVideoPane* pane : m_panes)
        if (pane) pane->ClearVideo();
}
