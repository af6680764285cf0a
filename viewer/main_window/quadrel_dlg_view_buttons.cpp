// The buttons of the viewer's own display and device settings: the signal search, the stamp on
// the panes, the sound, the channel settings and the grabber's property pages. Each passes the
// login gate, then asks the capture; the channel and system setting dialogs store theirs in the
// settings key.
#include "platform/media/interfaces/ibasic_audio.h"
#include "platform/ui/dialog_codes.h"
#include "platform/ui/prompts.h"
#include "viewer/capture/device_commands.h"
#include "viewer/main_window/main_dialog_ids.h"
#include "viewer/main_window/quadrel_dlg.h"
#include "viewer/settings/channel_setting_dialog.h"
#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"
#include "viewer/settings/system_setting_dialog.h"

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
    CChannelSettingDlg dialog(
        Prompts(), [this] { ResetSignalSearch(); }, this);
    if (Prompts().RunModal(dialog) != IDOK) return;
    ReloadGrabberSettings();
    alarms_.ResetAlarms();
    // The new titles, valid channels and turn timing go to the graph and the device; a graph
    // that is missing is built and run, without the rest of a capture's start.
    capture_.ConfigureCapture();
}

void CQuadrelDlg::ResetSignalSearch() {
    // Only the capture this window runs is searched: a graph made here would have no panes.
    CaptureGraph* graph = capture_.Graph();
    if (!graph) return;
    StartSearch(graph);
    PostSignalReset();
}

void CQuadrelDlg::OnSystemSetting() {
    if (!capture_.Graph() || !lock_.EnsureUnlocked()) return;
    // The recorder and the login read what the dialog stores when they need it.
    CSystemSettingDlg dialog(Prompts(), this);
    Prompts().RunModal(dialog);
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
