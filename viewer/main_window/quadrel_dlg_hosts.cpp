// What the window does for its features: the panes and buttons the channel views reach, the
// timers and channel steps the capture asks for, the lock's buttons, the Alarm button, and the
// snapshot timer, the TimerSnap button and the schedule dialog of the snapshots.
#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "platform/ui/prompts.h"
#include "viewer/main_window/main_dialog_ids.h"
#include "viewer/main_window/quadrel_dlg.h"
#include "viewer/main_window/video_pane.h"
#include "viewer/settings/snap_schedule_dialog.h"

namespace {

constexpr int kChannelButtons[4] = {IDC_CHANNEL1, IDC_CHANNEL2, IDC_CHANNEL3, IDC_CHANNEL4};

}  // namespace

RECT CQuadrelDlg::PaneRect(int k) const {
    const CVideoPane* pane = Pane(k);
    if (!pane) return RECT{0, 0, 0, 0};
    const QRect r = pane->geometry();
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

bool CQuadrelDlg::PaneShown(int k) const {
    const CVideoPane* pane = Pane(k);
    return pane && pane->isVisibleTo(this);
}

void CQuadrelDlg::PlacePane(int k, const std::optional<RECT>& rect, bool shown) {
    CVideoPane* pane = Pane(k);
    if (!pane) return;
    if (rect)
        pane->setGeometry(
            QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top));
    pane->setVisible(shown);
}

PaneLayout CQuadrelDlg::PreviewPanes() const {
    PaneLayout layout{};
    for (std::size_t k = 0; k < panes_.size(); ++k) {
        layout.window[k] = panes_[k];
        layout.rect[k] =
            panes_[k] ? RECT{0, 0, panes_[k]->width(), panes_[k]->height()} : RECT{0, 0, 0, 0};
    }
    return layout;
}

QSize CQuadrelDlg::PaneSize(int k) const {
    const CVideoPane* pane = Pane(k);
    return pane ? pane->size() : QSize();
}

void CQuadrelDlg::SetPanePicture(int k, const QImage& picture) {
    if (CVideoPane* pane = Pane(k)) pane->SetPicture(picture);
}

void CQuadrelDlg::RepaintWindow() {
    update();
}

void CQuadrelDlg::RepaintPane(int k) {
    if (CVideoPane* pane = Pane(k)) pane->update();
}

void CQuadrelDlg::LatchChannelButton(int channel, bool latched) {
    if (channel >= 1 && channel <= 4) SetLatched(kChannelButtons[channel - 1], latched);
}

void CQuadrelDlg::LatchDeviceMode(bool cycling) {
    SetLatched(IDC_ON, cycling);
    SetLatched(IDC_OFF, !cycling);
}

void CQuadrelDlg::PaintPanePictures(const channel_views::PanePictures& pictures) {
    channels_.PaintPanePictures(pictures);
}

void CQuadrelDlg::ShowAlarmButton(bool shown) {
    ShowItem(IDC_ALARM, shown);
}

void CQuadrelDlg::OnSearchStarted() {
    alarms_.ResetSignalMasks();
    SetTimer(ID_TIMER_SEARCH, kSearchPeriodMs);
}

void CQuadrelDlg::OnGraphRunning() {
    SetTimer(ID_TIMER_STAMP, kStampPeriodMs);
}

void CQuadrelDlg::OnManualChannelsSet() {
    channels_.ShowChannel(channels_.Channel());
    channels_.DrawClosedPanes();
}

void CQuadrelDlg::ApplyChannelControl() {
    channels_.ApplyChannelControl();
}

void CQuadrelDlg::OnCaptureStarted() {
    channels_.EnterCyclingMode();
    SetLatched(IDC_SHOW_STAMP, true);
    timedSnapshots_.ReadSnapWindow();
}

void CQuadrelDlg::ShowLockButtons(bool locked) {
    ShowItem(IDC_UNLOCK, locked);
    ShowItem(IDC_LOCKED, !locked);
}

int CQuadrelDlg::RecordingMessageBox(const QString& text, const QString& caption, UINT type) {
    return Prompts().MessageBox(this, text, caption, type);
}

void CQuadrelDlg::ArmRecordingTimers(UINT spaceMs, UINT sizeMs) {
    SetTimer(ID_TIMER_DISKSPACE, spaceMs);
    SetTimer(ID_TIMER_FILESIZE, sizeMs);
}

void CQuadrelDlg::KillRecordingTimers() {
    KillTimer(ID_TIMER_DISKSPACE);
    KillTimer(ID_TIMER_FILESIZE);
}

void CQuadrelDlg::ShowRecordingControls(bool recording) {
    SetLatched(IDC_RECORDER, recording);
    for (const int id : {IDC_SEARCH, IDC_CHANNEL_SETTING, IDC_SYSTEM})
        EnableDlgItem(this, id, !recording);
}

int CQuadrelDlg::SnapshotMessageBox(const QString& text, const QString& caption, UINT type) {
    return Prompts().MessageBox(this, text, caption, type);
}

void CQuadrelDlg::SetSnapTimer(UINT milliseconds) {
    SetTimer(ID_TIMER_SNAP, milliseconds);
}

void CQuadrelDlg::KillSnapTimer() {
    KillTimer(ID_TIMER_SNAP);
}

void CQuadrelDlg::LatchTimerSnap(bool latched) {
    SetLatched(IDC_TIMER_SNAP, latched);
}

bool CQuadrelDlg::TimerSnapLatched() const {
    return IsLatched(IDC_TIMER_SNAP);
}

bool CQuadrelDlg::RunScheduleDialog() {
    const RecordingClock& clock = Clock();
    CSnapScheduleDlg dialog(
        Prompts(), [&clock] { return clock.LocalNow(); }, this);
    return Prompts().RunModal(dialog) == IDOK;
}
