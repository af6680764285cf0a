// The main window's side of recording: the two recording timers, which stop themselves once the
// capture is gone, and the hook that stops a running recording.
#include "viewer/main_window/main_dialog_ids.h"
#include "viewer/main_window/quadrel_dlg.h"

void CQuadrelDlg::StopRecording(bool /*restoreState*/) {
    // Hook of the recording: removes the recording branch from the graph.
}

void CQuadrelDlg::CheckRecordingSpace() {
    if (!m_pGraph) {
        KillTimer(ID_TIMER_DISKSPACE);
        return;
    }
    // The free-space check of the recording follows here.
}

void CQuadrelDlg::CheckRecordingSize() {
    if (!m_pGraph) {
        KillTimer(ID_TIMER_FILESIZE);
        return;
    }
    // The file-size check of the recording follows here.
}
