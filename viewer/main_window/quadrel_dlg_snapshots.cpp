// The main window's side of timed snapshots: the hooks of the snapshot timer and of the
// snapshot window read at start-up and when a capture starts.
#include "viewer/main_window/quadrel_dlg.h"

void CQuadrelDlg::OnSnapTimer() {
    // Hook of the timed snapshots: one tick of ID_TIMER_SNAP.
}

void CQuadrelDlg::LoadSnapshotWindow() {
    // Hook of the timed snapshots: loads the snapshot window, dates before today as today.
}

void CQuadrelDlg::ReadScheduleWindow() {
    // Hook of the timed snapshots: "Schedule snap start" and "Schedule snap end".
}
