// A recording ended by SIGKILL: runs the recording child process on a file until it reports a
// number of delivered video frames, then kills it, leaving the file as a crash would.
#pragma once

#include <string>

namespace recording_test {

struct KilledRecording {
    bool killed = false;      // the child ran and was ended by the signal
    int framesReported = 0;   // video frames it had delivered when it was killed
    long long committed = 0;  // bytes it had flushed to the disk by then
};

// Records into `path` (25 frames a second of stepped video with sound) until at least `frames`
// video frames have been delivered, then kills the recorder.
KilledRecording RecordAndKill(const std::string& path, int frames);

}  // namespace recording_test
