// The timer dispatch of the main window, the signal-search poll and the signal-reset message.
#include "viewer/capture/device_commands.h"
#include "viewer/main_window/main_dialog_ids.h"
#include "viewer/main_window/quadrel_dlg.h"

namespace {

constexpr int kSearchFinished = 3;

}  // namespace

void CQuadrelDlg::OnTimer(UINT id) {
    switch (id) {
        case ID_TIMER_STAMP:
            capture_.RefreshStamps();
            return;
        case ID_TIMER_SNAP:
            timedSnapshots_.OnSnapTimer();
            return;
        case ID_TIMER_WATCH: {
            if (!settings_) return;
            lock_.TickAutoLock();
            const std::uint32_t lost = alarms_.PollSignalLoss();
            if (lost & kAlarmBits) alarms_.RaiseAlarm(lost);
            return;
        }
        case ID_TIMER_DISKSPACE:
            if (!recording_.CheckRecordingSpace(capture_.Graph())) KillTimer(ID_TIMER_DISKSPACE);
            return;
        case ID_TIMER_SEARCH:
            SearchTick();
            return;
        case ID_TIMER_FILESIZE:
            if (!recording_.CheckRecordingSize(capture_.Graph())) KillTimer(ID_TIMER_FILESIZE);
            return;
        default:
            return;
    }
}

void CQuadrelDlg::SearchTick() {
    CaptureGraph* graph = capture_.Graph();
    if (!graph) return;
    if (GetSearchState(graph) == kSearchFinished) {
        KillTimer(ID_TIMER_SEARCH);
        // After a search the hardware cycles through the inputs.
        SetLatched(IDC_SEARCH, false);
        LatchDeviceMode(true);
        return;
    }
    SetLatched(IDC_SEARCH, !IsLatched(IDC_SEARCH));  // blinks with a period of 1.6 s
}

void CQuadrelDlg::OnSignalReset() {
    OnSearchStarted();  // the masks start again and the search poll runs
}

void CQuadrelDlg::PostSignalReset() {
    QMetaObject::invokeMethod(this, &CQuadrelDlg::OnSignalReset, Qt::QueuedConnection);
}
