// The timer dispatch of the main window, the signal-search poll and the signal-reset message.
#include "viewer/capture/device_commands.h"
#include "viewer/capture/preview_stamp.h"
#include "viewer/main_window/main_dialog_ids.h"
#include "viewer/main_window/quadrel_dlg.h"

namespace {

constexpr int kSearchFinished = 3;
constexpr std::uint32_t kAlarmBits = 0x1F;

}  // namespace

void CQuadrelDlg::OnTimer(UINT id) {
    switch (id) {
        case ID_TIMER_STAMP:
            if (m_pGraph) RefreshAllStamps(m_pGraph);
            return;
        case ID_TIMER_SNAP:
            OnSnapTimer();
            return;
        case ID_TIMER_WATCH: {
            if (!m_pSettings) return;
            TickAutoLock();
            const std::uint32_t lost = PollSignalLoss();
            if (lost & kAlarmBits) RaiseAlarm(lost);
            return;
        }
        case ID_TIMER_DISKSPACE:
            CheckRecordingSpace();
            return;
        case ID_TIMER_SEARCH:
            SearchTick();
            return;
        case ID_TIMER_FILESIZE:
            CheckRecordingSize();
            return;
        default:
            return;
    }
}

void CQuadrelDlg::SearchTick() {
    if (!m_pGraph) return;
    if (GetSearchState(m_pGraph) == kSearchFinished) {
        KillTimer(ID_TIMER_SEARCH);
        // After a search the hardware cycles through the inputs.
        SetLatched(IDC_SEARCH, false);
        SetLatched(IDC_ON, true);
        SetLatched(IDC_OFF, false);
        return;
    }
    SetLatched(IDC_SEARCH, !IsLatched(IDC_SEARCH));  // blinks with a period of 1.6 s
}

void CQuadrelDlg::OnSignalReset() {
    seenSignalMask = -1;
    baselineSignalMask = -1;
    SetTimer(ID_TIMER_SEARCH, kSearchPeriodMs);
}

void CQuadrelDlg::PostSignalReset() {
    QMetaObject::invokeMethod(this, &CQuadrelDlg::OnSignalReset, Qt::QueuedConnection);
}
