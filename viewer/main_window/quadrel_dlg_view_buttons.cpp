// The buttons of the viewer's own display and device settings: the signal search, the stamp on
// the panes, the sound, the channel settings and the grabber's property pages. Each passes the
// login gate, then asks the capture.
#include "platform/media/interfaces/ibasic_audio.h"
#include "viewer/capture/device_commands.h"
#include "viewer/main_window/main_dialog_ids.h"
#include "viewer/main_window/quadrel_dlg.h"
#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"

namespace {

constexpr LONG kPalD = 32;  // AnalogVideo_PAL_D, the format assumed when none can be read

}  // namespace

void CQuadrelDlg::OnSearch() {
    CaptureGraph* graph = capture_.Graph();
    if (!graph || !lock_.EnsureUnlocked()) return;
    const int state = GetSearchState(graph);
    if (state == 1 || state == 2) {
        if (graph->device) graph->device->StopSearch();
        KillTimer(ID_TIMER_SEARCH);
        SetLatched(IDC_SEARCH, false);
        return;
    }
    StartSearch(graph);
    OnSearchStarted();
}

void CQuadrelDlg::OnShowStamp() {
    if (!capture_.Graph() || !lock_.EnsureUnlocked()) return;
    const bool show = !IsLatched(IDC_SHOW_STAMP);
    capture_.SetStampVisible(show);
    SetLatched(IDC_SHOW_STAMP, show);
}

void CQuadrelDlg::OnVolume(bool on) {
    if (!capture_.Graph() || !lock_.EnsureUnlocked()) return;
    capture_.SetVolume(on);
    ShowItem(IDC_VOLUME_ON, on);
    ShowItem(IDC_VOLUME_OFF, !on);
}

void CQuadrelDlg::OnChannelSetting() {
    if (!lock_.EnsureUnlocked()) return;
    // The channel setting dialog opens here (the settings issue).
}

void CQuadrelDlg::OnProperty() {
    CaptureGraph* graph = capture_.Graph();
    if (!graph || !lock_.EnsureUnlocked()) return;
    ShowDevicePropertyPage(graph, Prompts(), this);
    LONG format = kPalD;
    if (FAILED(GetTVFormat(graph, &format))) return;
    if (SettingsKeyHolder* holder = OpenSettingsKey())
        WriteSettingDword(holder, setting::kTvFormat, static_cast<DWORD>(format));
}
