// The buttons of the viewer's own display and device settings: the signal search, the stamp on
// the panes, the sound, the channel settings and the grabber's property pages.
#include "platform/media/interfaces/ibasic_audio.h"
#include "viewer/capture/device_commands.h"
#include "viewer/capture/preview_stamp.h"
#include "viewer/main_window/main_dialog_ids.h"
#include "viewer/main_window/quadrel_dlg.h"
#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"

namespace {

constexpr LONG kSilence = -10000;
constexpr LONG kFullVolume = 0;
constexpr LONG kPalD = 32;  // AnalogVideo_PAL_D, the format assumed when none can be read

}  // namespace

void CQuadrelDlg::OnSearch() {
    if (!m_pGraph || !EnsureUnlocked()) return;
    const int state = GetSearchState(m_pGraph);
    if (state == 1 || state == 2) {
        if (m_pGraph->device) m_pGraph->device->StopSearch();
        KillTimer(ID_TIMER_SEARCH);
        SetLatched(IDC_SEARCH, false);
        return;
    }
    StartSearch(m_pGraph);
    seenSignalMask = -1;
    baselineSignalMask = -1;
    SetTimer(ID_TIMER_SEARCH, kSearchPeriodMs);
}

void CQuadrelDlg::OnShowStamp() {
    if (!m_pGraph || !EnsureUnlocked()) return;
    const bool show = !IsLatched(IDC_SHOW_STAMP);
    SetTitleVisible(m_pGraph, show);
    SetTimeVisible(m_pGraph, show);
    SetLatched(IDC_SHOW_STAMP, show);
}

void CQuadrelDlg::OnVolume(bool on) {
    if (!m_pGraph || !EnsureUnlocked()) return;
    ComPtr<IBasicAudio> audio;
    if (m_pGraph->graph && SUCCEEDED(m_pGraph->graph.As(&audio)))
        audio->put_Volume(on ? kFullVolume : kSilence);
    ShowItem(IDC_VOLUME_ON, on);
    ShowItem(IDC_VOLUME_OFF, !on);
    *m_pVolumeOn = on ? 1 : 0;
}

void CQuadrelDlg::OnChannelSetting() {
    if (!EnsureUnlocked()) return;
    // The channel setting dialog opens here.
}

void CQuadrelDlg::OnProperty() {
    if (!m_pGraph || !EnsureUnlocked()) return;
    ShowDevicePropertyPage(m_pGraph, Prompts(), this);
    LONG format = kPalD;
    if (FAILED(GetTVFormat(m_pGraph, &format))) return;
    if (SettingsKeyHolder* holder = OpenSettingsKey())
        WriteSettingDword(holder, setting::kTvFormat, static_cast<DWORD>(format));
}
