// The preview stamp: each pane's channel title at the top left, the local date and time at the
// bottom right and, while timed snapshots are armed, the snapshot indicator at the bottom left,
// handed to the pane's renderer as a bitmap whose black is transparent. Rebuilt every second by
// the stamp timer and on every change. User-interface thread only.
#pragma once

#include "viewer/capture/capture_graph.h"

// Copies `text` (at most 256 characters; E_INVALIDARG otherwise, keeping the old title) as the
// title of pane k and refreshes that pane's stamp when titles are shown.
HRESULT SetChannelTitle(CaptureGraph* record, LPCWSTR text, int k);
HRESULT RefreshStamp(CaptureGraph* record, int k);
// Panes 0 to 3 in order; stops at the first failure and returns it.
HRESULT RefreshAllStamps(CaptureGraph* record);
void SetTitleVisible(CaptureGraph* record, bool on);
void SetTimeVisible(CaptureGraph* record, bool on);
bool SetSnapIndicator(CaptureGraph* record, bool on);

// The stamp's date and time text of the local time now: "%4d-%02d-%02d(%02d:%02d:%02d)".
std::u16string StampTimeText();
