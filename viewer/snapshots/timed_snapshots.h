// CTimedSnapshots: the viewer's timed snapshots. It holds the snapshot window and the period of
// the snapshot timer while timed snapshots are armed. Taking the snapshots (the JPEG writer and
// the snapshot buttons' handlers) is not built yet; what exists here is the state the rest of the
// viewer reads and resets, and the named hooks that work will fill.
//
// GUI thread only: every operation and every field.
#pragma once

#include <cstdint>

#include "viewer/snapshots/snapshot_window.h"

class CTimedSnapshots {
  public:
    // One tick of the snapshot timer.
    void OnSnapTimer();
    // The snapshot window at start-up (dates before today count as today).
    void LoadSnapshotWindow();
    // "Schedule snap start" and "Schedule snap end", read when a capture starts.
    void ReadScheduleWindow();

    // Records that timed snapshots are armed with the timer's `periodMs`. The timed-snapshot
    // button's handler calls it once it has started the snapshot timer.
    void TimedSnapshotsStarted(std::int32_t periodMs);
    // Timed snapshots are off (the timer has been stopped).
    void StopTimedSnapshots() { snapPeriod_ = 0; }

    std::int32_t SnapPeriod() const { return snapPeriod_; }
    const SnapshotWindow& Window() const { return window_; }

  private:
    // GUI thread only.
    SnapshotWindow window_;
    std::int32_t snapPeriod_ = 0;  // milliseconds; 0 while timed snapshots are off
};
