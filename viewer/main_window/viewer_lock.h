// CViewerLock: the lock of the viewer's controls. It holds the lock state and the first-run
// notice still to be shown, runs the login dialog at the gate of every protected action, locks
// at once (the Locked button) and after the login timeout (the watch tick).
//
// It reaches the prompts, the settings and the UnLock and Locked buttons only through its
// ILockHost, which outlives it. GUI thread only: every operation and every field.
#pragma once

#include <cstdint>

#include "viewer/main_window/lock_host.h"
#include "viewer/main_window/lock_state.h"

class CViewerLock {
  public:
    explicit CViewerLock(ILockHost& host) : host_(host) {}
    CViewerLock(const CViewerLock&) = delete;
    CViewerLock& operator=(const CViewerLock&) = delete;

    // The gate of every protected action: the first-run notice once per load of the settings
    // that reported the first run, then the login while locked. True when the controls are
    // unlocked; a refused login locks (LockViewer).
    bool EnsureUnlocked();
    // Locks at once: UnLock shown, Locked hidden, the countdown stopped (-1).
    void LockViewer();
    // One 3-second step of the automatic lock; 1 when it has just locked.
    int TickAutoLock();
    // The settings have just been (re)loaded: the first-run notice is due when they say so, and
    // when they came from the settings key the countdown restarts from their login timeout.
    void SettingsLoaded(bool fromKey);

    bool Locked() const { return state_.locked == 1; }
    const LockState& State() const { return state_; }

  private:
    ILockHost& host_;  // the window; outlives this object
    // GUI thread only.
    LockState state_;
    bool firstRunNoticeDue_ = false;
};
