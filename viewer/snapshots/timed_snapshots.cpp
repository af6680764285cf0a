// The timed snapshots' state and the hooks of the snapshot timer and the snapshot window.
#include "viewer/snapshots/timed_snapshots.h"

void CTimedSnapshots::OnSnapTimer() {
    // Hook of the timed snapshots: one tick of ID_TIMER_SNAP takes the snapshots of the enabled
    // channels with a signal inside the window (the snapshot issue).
}

void CTimedSnapshots::LoadSnapshotWindow() {
    // Hook of the timed snapshots: loads the snapshot window, dates before today as today (the
    // snapshot issue).
}

void CTimedSnapshots::ReadScheduleWindow() {
    // Hook of the timed snapshots: "Schedule snap start" and "Schedule snap end" (the snapshot
    // issue).
}

void CTimedSnapshots::TimedSnapshotsStarted(std::int32_t periodMs) {
    snapPeriod_ = periodMs;
}
