// The Close button and the shutdown it starts.
#include "platform/ui/dialog_codes.h"
#include "viewer/main_window/main_dialog_ids.h"
#include "viewer/main_window/quadrel_dlg.h"
#include "viewer/main_window/video_pane.h"
#include "viewer/settings/settings_key.h"

void CQuadrelDlg::OnClose() {
    if (!lock_.EnsureUnlocked()) return;
    CloseViewer();
}

void CQuadrelDlg::CloseViewer() {
    if (capture_.Graph()) {
        KillTimer(ID_TIMER_STAMP);
        KillTimer(ID_TIMER_SNAP);
        timedSnapshots_.StopTimedSnapshots();
        snapshots_.WaitForWrites();  // the pictures taken are on disk before the viewer ends
        if (recording_.Recording()) {
            KillTimer(ID_TIMER_DISKSPACE);
            KillTimer(ID_TIMER_FILESIZE);
            SetLatched(IDC_RECORDER, false);
            recording_.StopRecording(true);
        }
        KillTimer(ID_TIMER_SEARCH);
        capture_.FreeGraph();
        ClearPanes();
    }
    KillTimer(ID_TIMER_WATCH);
    alarms_.Shutdown();  // the sound stops; an unsent alarm mail is given up
    CloseSettingsKey();
    EndDialog(IDOK);
}

void CQuadrelDlg::ClearPanes() {
    for (CVideoPane* pane : panes_)
        if (pane) pane->ClearVideo();
}
