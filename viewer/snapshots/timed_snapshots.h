// CTimedSnapshots: snapshots on a schedule of days. The TimerSnap button arms and disarms them;
// while armed, the snapshot timer (ID_TIMER_SNAP) takes the snapshots every "Schedule snap span"
// seconds (continuous mode) or once every 24 hours (daily mode) from midnight of the start date
// until the end date has passed, and every pane shows the snapshot indicator. The SaveImage
// button edits the schedule.
//
// The first delay counts months as 30 days and years as 360 days, as the schedule always has.
// A delay longer than the timer can hold is armed in steps of at most kMaxSnapTimerStepMs whose
// sum is that delay; the steps between take no snapshot. Periods below kMinSnapTimerPeriodMs
// run at that period.
//
// It reaches the window through its ISnapshotsHost, takes the snapshots through CSnapshots and
// the time through a RecordingClock; all three outlive it. GUI thread only: every operation and
// every field.
#pragma once

#include <cstdint>
#include <ctime>

#include "viewer/capture/recording_clock.h"
#include "viewer/snapshots/snapshot_window.h"
#include "viewer/snapshots/snapshots.h"
#include "viewer/snapshots/snapshots_host.h"

inline constexpr std::int64_t kMaxSnapTimerStepMs = 0x7FFFFFFF;  // the longest timer period
// The shortest period the timer runs with: a span of 0 ticks every 10 ms, not as fast as the
// event loop turns, which would queue pictures faster than they can be written.
inline constexpr UINT kMinSnapTimerPeriodMs = 10;
inline constexpr UINT kDailySnapPeriodMs = 86400000;
inline constexpr int kTimedSnapshotMinimumFreeMiB = 300;

class CTimedSnapshots {
  public:
    CTimedSnapshots(ISnapshotsHost& host, CSnapshots& snapshots, const RecordingClock& clock)
        : host_(host), snapshots_(snapshots), clock_(clock) {}

    // At start-up: a stored start or end date before today is stored as today.
    void LoadSnapWindow();
    // "Schedule snap start" and "Schedule snap end" into the window (when a capture starts and
    // after the schedule dialog).
    void ReadSnapWindow();
    // Arms the timer for the first snapshot (the start date's midnight, or one span from now),
    // latches TimerSnap and shows the indicator; an end date before today refuses with a message.
    void ArmTimedSnapshots();
    // Kills the timer, unlatches TimerSnap and hides the indicator.
    void DisarmTimedSnapshots();
    // One tick of ID_TIMER_SNAP.
    void OnSnapTimer();

    // The TimerSnap button: with a capture and past the login gate, arms or disarms.
    void OnTimerSnap();
    // The SaveImage button: with a capture and past the login gate, the schedule dialog; after
    // OK the window is read again and armed snapshots are armed again with it.
    void OnSaveImage();

    // The timer has been killed by the window (close, device removal): forgets the period.
    void StopTimedSnapshots();

    // The first delay to midnight of `start` from `now` with 30-day months and 360-day years;
    // negative when that midnight lies behind `now` by that count.
    static std::int64_t DelayToStartMs(const std::tm& now, const ScheduleDate& start);

    // The period the timer was last armed with (ms); 0 while disarmed.
    UINT SnapPeriod() const { return snapPeriod_; }
    // What is left of the first delay after the step the timer runs now (ms).
    std::int64_t PendingDelay() const { return pendingDelayMs_; }
    const SnapshotWindow& Window() const { return window_; }

  private:
    // Arms the timer with `delayMs`, or its first step when it is too long for one.
    void ArmDelay(std::int64_t delayMs);
    // Everything of a disarm: timer, period, button and indicator.
    void Disarm();
    ScheduleDate Today() const;

    // Not owned; they outlive this object.
    ISnapshotsHost& host_;
    CSnapshots& snapshots_;
    const RecordingClock& clock_;
    // GUI thread only.
    SnapshotWindow window_;
    UINT snapPeriod_ = 0;
    std::int64_t pendingDelayMs_ = 0;
};
