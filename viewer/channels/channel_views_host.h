// IChannelViewsHost: what the channel views may ask of the window that shows them. The window
// owns the four panes, the channel and ON/OFF buttons, the capture graph's holder, the settings,
// the signal masks and the recording state; the channel views reach them only through these
// calls. Every call is made on the GUI thread, from inside one of CChannelViews' operations, and
// none of them calls back into the channel views.
#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>
#include <optional>

#include "platform/base/win_types.h"
#include "viewer/capture/capture_graph.h"
#include "viewer/settings/grabber_settings.h"

class IChannelViewsHost {
  public:
    // The running capture graph; null while no capture runs.
    virtual CaptureGraph* Graph() const = 0;
    // The loaded settings; null before the first load.
    virtual const GrabberSettings* Settings() const = 0;
    // The signal baseline of the alarms: -1 while none is taken.
    virtual std::int32_t BaselineSignalMask() const = 0;
    // True while a recording runs: the device then stays on the recorded channel.
    virtual bool RecordingRuns() const = 0;
    // The login gate; true when the controls are unlocked (it may run the login dialog).
    virtual bool EnsureUnlocked() = 0;

    // Pane k (0 to 3) shows channel k + 1. Its rectangle in the window's client coordinates
    // (all zero when the pane is missing) and whether it is shown in the window.
    virtual RECT PaneRect(int k) const = 0;
    virtual bool PaneShown(int k) const = 0;
    // Moves pane k to `rect` (left where it is when empty) and shows or hides it.
    virtual void PlacePane(int k, const std::optional<RECT>& rect, bool shown) = 0;
    // The panes as the video windows of channels 1 to 4, with their client rectangles.
    virtual PaneLayout PreviewPanes() const = 0;
    // The size of pane k; an invalid size when the pane is missing.
    virtual QSize PaneSize(int k) const = 0;
    // Lays `picture` over pane k's video until its next frame.
    virtual void SetPanePicture(int k, const QImage& picture) = 0;
    // Repaints the window (and with it the frames round the panes), or one pane's video.
    virtual void RepaintWindow() = 0;
    virtual void RepaintPane(int k) = 0;

    // Latches the button of `channel` (1 to 4) or releases it.
    virtual void LatchChannelButton(int channel, bool latched) = 0;
    // Latches ON (the device cycles) or OFF (the device is fixed on one input).
    virtual void LatchDeviceMode(bool cycling) = 0;

  protected:
    ~IChannelViewsHost() = default;
};
