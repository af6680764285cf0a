// ICaptureHost: what the capture may ask of the window it runs for. Every call is made on the GUI
// thread, from inside one of CCaptureSession's operations, while the graph pointer is set.
#pragma once

#include "viewer/capture/capture_graph.h"
#include "viewer/settings/grabber_settings.h"

class ICaptureHost {
  public:
    // The panes as the video windows of channels 1 to 4, with their client rectangles.
    virtual PaneLayout PreviewPanes() const = 0;
    // The loaded settings (the enabled channels); null before the first load.
    virtual const GrabberSettings* Settings() const = 0;
    // The device has started its signal search: the signal masks start again and the search
    // poll runs.
    virtual void OnSearchStarted() = 0;
    // The graph runs: the stamp refresh runs.
    virtual void OnGraphRunning() = 0;
    // Manual channel control has set the valid channels: the current channel's view and the
    // closed panes are made again.
    virtual void OnManualChannelsSet() = 0;
    // The channel timing of the settings key is given to the device.
    virtual void ApplyChannelControl() = 0;
    // The capture is up and configured: the device cycles, the stamp is shown and the
    // schedule of the timed snapshots is read.
    virtual void OnCaptureStarted() = 0;

  protected:
    ~ICaptureHost() = default;
};
