// The process-wide capture graph: the filter graph built around the grabber's three device
// filters, the audio tee, one video renderer per preview pane, the device-control wrapper, the
// recording branch while a recording runs, and the preview stamp's titles and flags.
// User-interface thread only; the record is not locked (streaming threads never touch it).
#pragma once

#include <memory>

#include "platform/base/bitmap.h"
#include "platform/base/window_handle.h"
#include "platform/com/com_ptr.h"
#include "platform/media/interfaces/ibase_filter.h"
#include "platform/media/interfaces/icreate_dev_enum.h"
#include "platform/media/interfaces/igraph_builder.h"
#include "platform/media/interfaces/imedia_control.h"
#include "viewer/capture/bda_device.h"

inline constexpr LPCWSTR kGrabberName = u"QVD Grabber Device";
inline constexpr LPCWSTR kCrossbarName = u"QV BDA Crossbar Filter";
inline constexpr LPCWSTR kDeviceControlName = u"QV Device Control";
inline constexpr LPCWSTR kAudioTeeName = u"Infinite Pin Tee Filter";
inline constexpr LPCWSTR kRendererName = u"Video Mixing Renderer9";
inline constexpr LPCWSTR kPreviewPinNames[4] = {u"PreView One", u"PreView Two", u"PreView Three",
                                                u"PreView Four"};
inline constexpr std::size_t kChannelTitleUnits = 257;  // 256 characters and the terminator

struct CaptureGraph {
    ComPtr<IGraphBuilder> graph;
    ComPtr<IMediaControl> mediaControl;
    ComPtr<IBaseFilter> grabber;
    ComPtr<IBaseFilter> crossbar;
    ComPtr<IBaseFilter> deviceControl;
    ComPtr<IBaseFilter> videoEncoder;
    ComPtr<IBaseFilter> audioEncoder;
    ComPtr<IBaseFilter> aviMux;
    ComPtr<IBaseFilter> fileWriter;  // set exactly while a recording branch is attached
    ComPtr<IBaseFilter> titleFilter;
    ComPtr<IBaseFilter> audioTee;
    ComPtr<IBaseFilter> renderers[4];  // renderer k shows channel k + 1
    std::unique_ptr<CBDADevice> device;
    WCHAR channelTitles[4][kChannelTitleUnits] = {};
    BYTE showTitle = 1;
    BYTE showTime = 1;
    BYTE showSnapIcon = 0;
    const BITMAP* snapIcon = nullptr;  // owned by the main window, which outlives the graph
};

// The preview panes: the window of channel k + 1 (null detaches its renderer) and the video's
// destination rectangle in that window's client coordinates.
struct PaneLayout {
    HWND window[4];
    RECT rect[4];
};

// True when the grabber's three device filters are all present.
bool CaptureDevicesPresent();

// The singleton, created and built on first use; null when building fails.
CaptureGraph* GetCaptureGraph();
// The singleton as it is (null when none), without creating it.
CaptureGraph* CurrentCaptureGraph();
// Tears the singleton down (DestroyCaptureGraph), frees it and clears it.
void FreeCaptureGraph();

HRESULT InitCaptureGraph(CaptureGraph* record);
void DestroyCaptureGraph(CaptureGraph* record);

HRESULT RunGraph(CaptureGraph* record);
HRESULT PauseGraph(CaptureGraph* record);
HRESULT StopGraph(CaptureGraph* record);

HRESULT SetupPreviewPanes(CaptureGraph* record, const PaneLayout* layout);
HRESULT DetachPaneRenderer(CaptureGraph* record, UINT pane);

// The first device of `category` whose friendly name is exactly `name`; *filter stays null (and
// the last property read's result is returned) when none matches.
HRESULT FindDeviceFilter(ICreateDevEnum* devices, REFCLSID category, LPCWSTR name,
                         IBaseFilter** filter);
// The first pin of `filter` in `direction` (0 input, 1 output) named `name` (any when null) and
// in the wanted connection state; see the .cpp for the exact search rule.
HRESULT FindPin(IBaseFilter* filter, LPCWSTR name, int direction, bool wantConnected, IPin** pin);
// The pin of `filter` named `name` in `direction`, whatever its connection state; E_FAIL when none.
HRESULT FindPinByName(IBaseFilter* filter, LPCWSTR name, int direction, IPin** pin);
HRESULT ConnectFromUpstream(CaptureGraph* record, IBaseFilter* downstream, LPCWSTR pinName,
                            IBaseFilter* upstream);
HRESULT DisconnectSide(CaptureGraph* record, IBaseFilter* filter, int direction);
HRESULT RemoveFromGraph(IBaseFilter* filter);
