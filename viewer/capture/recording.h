// CRecording: the viewer's recording. It holds the recording state (flag and file) and the work
// of the two recording timers. Starting a recording (the recording branch of the capture graph,
// the file and the recorder button's handler) is not built yet; what exists here is the state
// the rest of the viewer reads and the named hooks that work will fill.
//
// GUI thread only: every operation and every field.
#pragma once

#include <string_view>

#include "viewer/capture/capture_graph.h"
#include "viewer/capture/recording_state.h"

class CRecording {
  public:
    // Records that a recording to `path` runs (at most 259 characters are kept). The recording
    // start calls it once the recording branch is attached to the graph.
    void RecordingStarted(std::u16string_view path);
    // Stops a running recording; afterwards no recording runs. `restoreState`: the viewer goes
    // on and the controls the recording changed come back.
    void StopRecording(bool restoreState);
    // Forgets the file of the last recording.
    void ClearPath();

    // The two timers' ticks: false when no capture runs any more, and the window stops the
    // timer.
    bool CheckRecordingSpace(const CaptureGraph* graph);
    bool CheckRecordingSize(const CaptureGraph* graph);

    bool Recording() const { return state_.recording; }
    const RecordingState& State() const { return state_; }

  private:
    // GUI thread only.
    RecordingState state_;
};
