// Graph-level device operations: the control commands that first check for a graph and a
// device wrapper, the analogue video standard, and the grabber's property pages.
#pragma once

#include <cstdint>

#include "viewer/capture/capture_graph.h"

class IPrompts;
class QWidget;

// Each returns E_FAIL when the record has no graph or no device wrapper, S_OK otherwise.
HRESULT StartSearch(CaptureGraph* record);
HRESULT SetValidChannels(CaptureGraph* record, int c1, int c2, int c3, int c4);
HRESULT GetSignalMask(CaptureGraph* record, std::uint32_t* mask);
// Qualities outside 0..2 are sent as 0.
HRESULT SetRecordQuality(CaptureGraph* record, int quality);
// False when the graph or the wrapper is missing.
bool IsCycling(CaptureGraph* record);
// 0..3, or -1 without a graph, a wrapper or its property-set interface.
int GetSearchState(CaptureGraph* record);

// The grabber's analogue video standard. Negative values are refused with E_FAIL.
HRESULT SetTVFormat(CaptureGraph* record, LONG value);
HRESULT GetTVFormat(CaptureGraph* record, LONG* value);

// Shows the grabber's property pages in a modal frame over `owner` at (30, 30); the frame's
// result. E_FAIL without a grabber.
HRESULT ShowDevicePropertyPage(CaptureGraph* record, IPrompts& prompts, QWidget* owner);
