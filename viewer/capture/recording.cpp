// The recording's state and the hooks of its timers and its stop.
#include "viewer/capture/recording.h"

#include <algorithm>

void CRecording::RecordingStarted(std::u16string_view path) {
    state_.path.fill(WCHAR{0});
    const std::size_t kept = std::min(path.size(), state_.path.size() - 1);
    std::copy_n(path.begin(), kept, state_.path.begin());
    state_.recording = true;
}

void CRecording::StopRecording(bool /*restoreState*/) {
    // Hook of the recording: removes the recording branch from the graph (the recording issue).
    state_.recording = false;
}

void CRecording::ClearPath() {
    state_.path.fill(WCHAR{0});
}

bool CRecording::CheckRecordingSpace(const CaptureGraph* graph) {
    if (!graph) return false;
    // Hook of the recording: the free-space check of the recording drive (the recording issue).
    return true;
}

bool CRecording::CheckRecordingSize(const CaptureGraph* graph) {
    if (!graph) return false;
    // Hook of the recording: the file-size check that starts the next file (the recording
    // issue).
    return true;
}
