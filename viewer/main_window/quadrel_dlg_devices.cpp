// Capture devices arriving and leaving: the record check, starting the capture again on
// arrival, and tearing everything down on removal.
#include <algorithm>
#include <iterator>

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
    ResetAlarms();
    StartCapture();
}

void CQuadrelDlg::OnDeviceRemoved() {
    RaiseAlarm(AlarmDeviceRemoved);
    ShowMessage(QStringLiteral("警报,设备被移除!!"));
    if (!m_pGraph) return;

    if (m_recording) {
        StopRecording(false);
        m_recording = false;
        KillTimer(ID_TIMER_DISKSPACE);
        KillTimer(ID_TIMER_FILESIZE);
        std::fill(std::begin(m_recordPath), std::end(m_recordPath), WCHAR{0});
        SetLatched(IDC_RECORDER, false);
        for (const int id : {IDC_SEARCH, IDC_CHANNEL_SETTING, IDC_SYSTEM})
            EnableDlgItem(this, id, true);
    }

    ShowItem(IDC_VOLUME_OFF, false);
    ShowItem(IDC_VOLUME_ON, true);
    *m_pVolumeOn = 1;

    if (!IsLatched(IDC_SHOW_STAMP)) {
        SetTitleVisible(m_pGraph, true);
        SetTimeVisible(m_pGraph, true);
        SetLatched(IDC_SHOW_STAMP, true);
    }
    if (IsLatched(IDC_TIMER_SNAP)) {
        KillTimer(ID_TIMER_SNAP);
        m_snapPeriod = 0;
        SetLatched(IDC_TIMER_SNAP, false);
        SetSnapIndicator(m_pGraph, false);
    }

    FreeCaptureGraph();
    m_pGraph = nullptr;
    seenSignalMask = -1;
    baselineSignalMask = -1;
    ClearPanes();
}
