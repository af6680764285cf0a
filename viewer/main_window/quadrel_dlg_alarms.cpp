// The main window's side of the alarms: acknowledging them, and the hooks through which the
// watch tick and device removal raise them.
#include "viewer/main_window/main_dialog_ids.h"
#include "viewer/main_window/quadrel_dlg.h"

void CQuadrelDlg::RaiseAlarm(std::uint32_t /*mask*/) {
    // Hook of the alarms: sound, mail and the Alarm button for one new alarm bit.
}

void CQuadrelDlg::StopAlarmSound() {
    // Hook of the alarms: stops the looping alarm sound.
}

void CQuadrelDlg::ResetAlarms() {
    ShowItem(IDC_ALARM, false);
    m_pAlarm->alarmShown = 0;
    StopAlarmSound();
    m_pAlarm->raisedAlarms = 0;
    seenSignalMask = -1;
}
