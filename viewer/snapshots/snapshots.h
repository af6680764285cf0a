// CSnapshots: the viewer's JPEG snapshots. TakeSnapshots saves the picture of every enabled
// channel that has a signal into the snapshot folder, one file per channel named for one local
// time; the SnapShot button takes them on demand and the timed snapshots on their schedule.
//
// The pictures are read from the renderers here, on the GUI thread; compressing and writing them
// is the work of the snapshot writer's thread, so that a snapshot never holds up the window.
//
// It reaches the window only through its ISnapshotsHost, the disk through a
// storage::RecordingDisk and the time through a RecordingClock; all three outlive it.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "platform/storage/recording_disk.h"
#include "viewer/capture/recording_clock.h"
#include "viewer/snapshots/snapshot_writer.h"
#include "viewer/snapshots/snapshots_host.h"

inline constexpr int kSnapshotMinimumFreeMiB = 30;

class CSnapshots {
  public:
    CSnapshots(ISnapshotsHost& host, const storage::RecordingDisk& disk,
               const RecordingClock& clock)
        : host_(host), disk_(disk), clock_(clock) {}

    // The SnapShot button: with a capture and past the login gate, TakeSnapshots.
    void OnSnapShot();
    // The pictures of the enabled channels with a signal, queued for writing. The result of the
    // last channel's read (S_OK when none was read); 0 when nothing was tried (no capture, no
    // settings, no signal mask); the folder's creation error; or the message box's answer when
    // the disk is too full.
    long TakeSnapshots();

    // The snapshot folder of the settings ("Snap save path from": 1 or missing "Save File Path",
    // otherwise "Snap save path"); false when the key or the value cannot be read.
    static bool ReadSnapshotFolder(std::u16string* folder);
    // Whole MiB free on the volume of `folder`; 0 when it cannot be measured.
    int FreeSpaceMiB(std::u16string_view folder) const;
    // "<folder>ch<n>_YYYY-MM-DD-hh-mm-ss-mmmm.jpg", at most 259 characters.
    static std::u16string SnapshotFileName(std::u16string_view folder, int channel,
                                           const std::tm& time, int milliseconds);

    // Returns once every picture queued so far is written (the window's close, and tests).
    void WaitForWrites() { writer_.WaitIdle(); }
    CSnapshotWriter& Writer() { return writer_; }

  private:
    // Not owned; they outlive this object.
    ISnapshotsHost& host_;
    const storage::RecordingDisk& disk_;
    const RecordingClock& clock_;
    // Its own thread; the object is used from the GUI thread.
    CSnapshotWriter writer_;
};
