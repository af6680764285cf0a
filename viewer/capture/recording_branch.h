// The recording branch of the capture graph: the title overlay filter on the grabber's
// "Capture Out", the video and audio encoders, the AVI multiplexer and the file writer; and the
// two graph operations that attach it for a recording and remove it again.
// User-interface thread only; the branch's streaming threads belong to the graph runtime.
#pragma once

#include <string_view>

#include "viewer/capture/capture_graph.h"

// Creates the two encoders, the multiplexer and the title filter and adds them to the graph as
// "Video Encoder", "Audio Encoder", "Mux" and "Title". E_FAIL without a graph; on any failure
// every branch filter made so far is removed and released and the code is returned.
HRESULT CreateRecordingFilters(CaptureGraph* record);
// Capture Out -> title -> video encoder -> mux, audio tee -> audio encoder -> mux, then capture
// interleaving on the mux. E_POINTER when the graph, audio encoder, mux or title is missing; the
// first failure otherwise.
HRESULT ConnectRecordingBranch(CaptureGraph* record);
// Disconnects the file writer's input, the encoders' inputs and outputs and the title's input;
// the first failure. E_POINTER when the graph, audio encoder, mux or title is missing.
HRESULT DisconnectRecordingBranch(CaptureGraph* record);
// Removes and releases every branch filter that is present.
HRESULT RemoveRecordingFilters(CaptureGraph* record);

// Attaches a fresh branch writing `fileName` with `title` burned in, records `channel` (1..4) at
// `quality` (0..2, else 0), and returns the graph to the state it had. A failure from the file
// writer on leaves the other branch filters in place until the next start or stop.
HRESULT StartRecording(std::u16string_view title, CaptureGraph* record, LPCWSTR fileName,
                       int channel, int quality);
// Flushes the audio encoder, stops the graph, removes the branch and resets the record quality;
// with `restoreState` the graph returns to the state it had. E_FAIL without a graph or device.
HRESULT StopRecording(CaptureGraph* record, bool restoreState);
// The file writer's first write failure of the current file (S_OK when none or no branch).
HRESULT RecordingWriteError(CaptureGraph* record);
