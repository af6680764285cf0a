// Capture devices arriving and leaving: the record check, starting the capture again on
// arrival, and tearing everything down on removal.
#include "platform/devices/device_broadcast.h"
#include "platform/ui/dialog_items.h"
#include "viewer/capture/preview_stamp.h"
#include "viewer/main_window/capture_broadcast.h"
#include "viewer/main_window/main_dialog_ids.h"
#include "viewer/main_window/quadrel_dlg.h"

bool CQuadrelDlg::OnDeviceChange(UINT event, const void* record, std::size_t size) {
    if (event != devices::DBT_DEVICEARRIVAL && event != devices::DBT_DEVICEREMOVECOMPLETE)
        return false;
    if (!IsUsbCaptureBroadcast(record, size)) return false;
    if (event == devices::DBT_DEVICEARRIVAL)
        OnDeviceArrival();
    else
        OnDeviceRemoved();
    return true;
}

void CQuadrelDlg::OnDeviceArrival() {
    alarms_.ResetAlarms();
    capture_.StartCapture();
}

void CQuadrelDlg::OnDeviceRemoved() {
    alarms_.RaiseAlarm(AlarmDeviceRemoved);
    ShowMessage(QStringLiteral("警报,设备被移除!!"));
    CaptureGraph* graph = capture_.Graph();
    if (!graph) return;

    if (recording_.Recording()) {
        recording_.StopRecording(false);
        KillTimer(ID_TIMER_DISKSPACE);
        KillTimer(ID_TIMER_FILESIZE);
        recording_.ClearPath();
        SetLatched(IDC_RECORDER, false);
        for (const int id : {IDC_SEARCH, IDC_CHANNEL_SETTING, IDC_SYSTEM})
            EnableDlgItem(this, id, true);
    }

    ShowItem(IDC_VOLUME_OFF, false);
    ShowItem(IDC_VOLUME_ON, true);

    if (!IsLatched(IDC_SHOW_STAMP)) {
        capture_.SetStampVisible(true);
        SetLatched(IDC_SHOW_STAMP, true);
    }
    if (IsLatched(IDC_TIMER_SNAP)) {
        KillTimer(ID_TIMER_SNAP);
        timedSnapshots_.StopTimedSnapshots();
        SetLatched(IDC_TIMER_SNAP, false);
        SetSnapIndicator(graph, false);
    }

    capture_.FreeGraph();  // the sound counts as on again
    alarms_.ResetSignalMasks();
    ClearPanes();
}
