// CRecording: the viewer's recording. The Recorder button starts and stops it; it holds the
// recording state (flag and file), measures the free space of the save folder and the size of
// the file, and does the work of the two recording timers: stopping when the disk fills up and
// starting the next file when one reaches the split size.
//
// It reaches the window only through its IRecordingHost, the disk through a
// storage::RecordingDisk and the time through a RecordingClock; all three outlive it. Each file
// it records is named in the recording journal (storage::RecordingJournal::DefaultFile()) until
// its recording has been stopped, so that the next start can repair a file the program left
// unfinished.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/storage/recording_disk.h"
#include "platform/storage/recording_journal.h"
#include "viewer/capture/capture_graph.h"
#include "viewer/capture/recording_clock.h"
#include "viewer/capture/recording_host.h"
#include "viewer/capture/recording_repair.h"
#include "viewer/capture/recording_state.h"

inline constexpr int kMinimumFreeMiB = 300;
inline constexpr int kLowSpaceMiB = 1025;
inline constexpr int kSplitSizeMiB = 2000;
inline constexpr UINT kLowSpacePeriodMs = 10000;
inline constexpr UINT kSpacePeriodMs = 30000;
inline constexpr UINT kFileSizePeriodMs = 60000;

class CRecording {
  public:
    // A file reaches its end at `splitSizeMiB` (kSplitSizeMiB but where a soak test asks for
    // splits sooner).
    CRecording(IRecordingHost& host, const storage::RecordingDisk& disk,
               const RecordingClock& clock, int splitSizeMiB = kSplitSizeMiB)
        : host_(host), disk_(disk), clock_(clock), splitSizeMiB_(splitSizeMiB) {}

    // The Recorder button: stops a running recording, else checks the search, the disk, the
    // signals and the settings and starts one; every refusal is told in a message box.
    void OnRecorder();
    // Records that a recording to `path` runs (at most 259 characters are kept).
    void RecordingStarted(std::u16string_view path);
    // Removes the recording branch (the graph stays stopped unless `restoreState`) and clears
    // the flag; the window's close and device removal reset their controls themselves.
    void StopRecording(bool restoreState);
    // Forgets the file of the last recording.
    void ClearPath();

    // The two timers' ticks: false when no capture runs any more, and the window stops the
    // timer. The free-space tick also stops a recording whose file can no longer be written.
    bool CheckRecordingSpace(CaptureGraph* graph);
    bool CheckRecordingSize(CaptureGraph* graph);

    // Whole MiB free on the volume of `folder` (0 when it cannot be measured), and the length
    // of the file at `path` in MiB (-1 when it cannot be opened).
    int FreeSpaceMiB(std::u16string_view folder) const;
    int FileSizeMiB(std::u16string_view path) const;
    // The file of a recording started at `time` in `folder` (which ends with "/").
    static std::u16string RecordingFileName(std::u16string_view folder, const std::tm& time);

    // At start-up: repairs the files the journal names, on a worker (see CRecordingRepair);
    // `wake` is called from the worker when it is done and must have the GUI thread call
    // FinishRepairs, which tells the user.
    void RepairUnfinishedFiles(std::function<void()> wake) { repair_.Start(std::move(wake)); }
    void FinishRepairs() { repair_.Finish(); }
    bool Repairing() const { return repair_.Running(); }

    bool Recording() const { return state_.recording; }
    const RecordingState& State() const { return state_; }

  private:
    // The Recorder button's stop: the branch, the device channel, the timers, the state and
    // the controls. False when the branch could not be stopped (nothing else changes).
    bool StopFromButton(CaptureGraph* graph);
    // Everything of that stop after the branch is gone.
    void FinishStop();
    void StartFromButton(CaptureGraph* graph);
    // The channel to record when the current one has no signal: 0 when the user refuses or
    // none can be recorded (the message box has said why).
    int ChooseChannel(std::uint32_t mask);
    // The title of `channel` and the quality from the settings and a new file in the save
    // folder: a start of StartRecording; false when a setting cannot be read or it fails.
    bool StartFile(CaptureGraph* graph, int channel, std::u16string* file);
    // StopRecording of the branch; once it has stopped, the file is finished and leaves the
    // journal.
    HRESULT EndFile(CaptureGraph* graph, bool restoreState);

    // Not owned; they outlive this object.
    IRecordingHost& host_;
    const storage::RecordingDisk& disk_;
    const RecordingClock& clock_;
    const int splitSizeMiB_;
    // GUI thread only.
    RecordingState state_;
    storage::RecordingJournal journal_{storage::RecordingJournal::DefaultFile()};
    CRecordingRepair repair_{host_, journal_};  // last: its worker ends before the rest goes
};
