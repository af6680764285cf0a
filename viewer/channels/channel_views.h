// CChannelViews: the viewer's channel views. It keeps the layout rectangles, the layout, the
// current channel and the channel framed red, and does what the layouts, the current channel, the
// device's two modes (its own round-robin over the valid inputs, or fixed on one input), the pane
// frames and the pane pictures call for. The user's channel actions (channel buttons, pane clicks,
// layout buttons, ON and OFF) enter here after the window's dispatch.
//
// It reaches the panes, the buttons, the graph, the settings and the login gate only through its
// IChannelViewsHost, which outlives it. GUI thread only: every operation and every field.
#pragma once

#include <QPainter>
#include <cstdint>

#include "viewer/channels/channel_view.h"
#include "viewer/channels/channel_views_host.h"
#include "viewer/channels/layout_rects.h"
#include "viewer/channels/pane_pictures.h"

class CChannelViews {
  public:
    explicit CChannelViews(IChannelViewsHost& host) : host_(host) {}
    CChannelViews(const CChannelViews&) = delete;
    CChannelViews& operator=(const CChannelViews&) = delete;

    // ---- Layouts ----
    // The layout rectangles from the panes' places; once, while the panes are at their start-up
    // places.
    void ComputeLayoutRects();
    // Layout 1 single, 3 big and small, 4 quad: 0 done (the layout becomes `style`); 4 no
    // capture; 5 no such layout; 6 the panes could not be given to the graph.
    int ApplyLayout(int style);
    // Each places the panes, gives them to the graph (false when that fails) and makes the
    // current channel's view again; single view puts the device in fixed mode on that channel.
    // They leave the layout number alone: the caller sets it on success.
    bool LayoutSingle();
    bool LayoutBigSmall();
    bool LayoutQuad();

    // ---- Current channel and device mode ----
    // Makes `channel` (0 to 4; 0 the lowest enabled) current in the view without switching the
    // device: frames, pane pictures and the latched channel button. Disabled channels hand on
    // forward to the next one. Nothing without a capture or settings.
    void ShowChannel(int channel);
    // Fixed mode on `channel`, or for 0 on the lowest channel with a signal; the channel
    // selected, 0 when none.
    int SelectDeviceChannel(int channel);
    // The hardware's own round-robin over the valid inputs (ON latched, OFF not).
    void EnterCyclingMode();
    // The channel timing of the settings key: 0 done; E_FAIL no graph; 3 settings key
    // unavailable; 2 no device-control object.
    int ApplyChannelControl();

    // ---- Frames and pictures ----
    // The frames round the panes: red round the pane of `channel`, blue round the others (only
    // the current pane in single view); painted with the window by PaintPaneFrames.
    void DrawPaneFrames(int channel);
    void PaintPaneFrames(QPainter& painter) const;
    // "Channel n Close" over each disabled channel; "No Signal" over each enabled channel whose
    // bit is clear in `mask`; "Lost Signal" over each enabled channel whose bit is clear in
    // `mask` and set in the signal baseline (once one is taken). Nothing without settings.
    void DrawClosedPanes();
    void DrawNoSignalPanes(std::uint32_t mask);
    void DrawLostSignalPanes(std::uint32_t mask);
    // Paints each pane's picture (kNone: the pane is left as it is).
    void PaintPanePictures(const channel_views::PanePictures& pictures);
    // The enabled channels of the settings (none without settings).
    std::uint32_t EnabledChannels() const;

    // ---- The user's channel actions (each tests its conditions in its own order) ----
    void OnChannelButton(int channel);
    // A click and a double click on the pane of `channel`, after the login gate has passed.
    void OnPaneClick(int channel);
    void OnPaneDoubleClick(int channel);
    // The layout buttons: 4 quad, 3 big and small, 1 single.
    void OnStyle(int style);
    void OnCyclingOn();
    void OnCyclingOff();

    // ---- Read-only state ----
    int Layout() const { return view_.layout; }
    int Channel() const { return view_.channel; }
    const channel_views::LayoutRects& Rects() const { return rects_; }
    // The channel whose pane is framed red (0: all blue); -1 before the first frames.
    int FramedChannel() const { return framedChannel_; }

  private:
    // Moves and shows the panes as the placement of `layout` says and gives them to the graph.
    bool PlaceAndAttachPanes(int layout);
    bool ChannelEnabled(int channel) const;

    IChannelViewsHost& host_;  // the window; outlives this object
    // GUI thread only.
    channel_views::LayoutRects rects_;
    channel_views::ChannelView view_;
    int framedChannel_ = -1;  // the pane framed red; 0 none, -1 no frames drawn
};
