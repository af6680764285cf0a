// ISnapshotsHost: what the snapshots and the timed snapshots may ask of the window they run for.
// Every call is made on the GUI thread, from inside one of their operations.
#pragma once

#include <QString>

#include "platform/base/win_types.h"
#include "viewer/capture/capture_graph.h"
#include "viewer/settings/grabber_settings.h"

class ISnapshotsHost {
  public:
    // The capture graph while a capture runs, else null.
    virtual CaptureGraph* Graph() const = 0;
    // The loaded settings (the channels' enable flags); null before they are loaded.
    virtual const GrabberSettings* Settings() const = 0;
    // The login gate; false when the user did not unlock.
    virtual bool EnsureUnlocked() = 0;
    // A message box over the window; the answer (IDOK...).
    virtual int SnapshotMessageBox(const QString& text, const QString& caption, UINT type) = 0;
    // The window's information pop-up.
    virtual void ShowMessage(const QString& text) = 0;
    // Arms (restarting) and kills the snapshot timer ID_TIMER_SNAP.
    virtual void SetSnapTimer(UINT milliseconds) = 0;
    virtual void KillSnapTimer() = 0;
    // The TimerSnap button latched (armed) or not, repainted.
    virtual void LatchTimerSnap(bool latched) = 0;
    virtual bool TimerSnapLatched() const = 0;
    // Runs the snapshot schedule dialog modally; true when it ended with OK.
    virtual bool RunScheduleDialog() = 0;

  protected:
    ~ISnapshotsHost() = default;
};
