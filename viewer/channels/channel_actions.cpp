// What the user does to the channel views: the channel buttons, clicks and double clicks on the
// panes, the three layout buttons and the ON and OFF buttons. Every action first tests its
// conditions in its own order; the login gate stops it while the viewer stays locked. While a
// recording runs the device stays on the recorded channel.
#include "viewer/capture/device_commands.h"
#include "viewer/channels/channel_views.h"

using channel_views::kLayoutBigSmall;
using channel_views::kLayoutQuad;
using channel_views::kLayoutSingle;

bool CChannelViews::ChannelEnabled(int channel) const {
    const GrabberSettings* settings = host_.Settings();
    return settings && channel >= 1 && channel <= 4 && settings->channelEnabled[channel - 1] != 0;
}

void CChannelViews::OnChannelButton(int channel) {
    CaptureGraph* graph = host_.Graph();
    if (!graph || host_.RecordingRuns() || !host_.Settings()) return;
    if (!ChannelEnabled(channel) || !host_.EnsureUnlocked()) return;
    if (view_.layout == kLayoutSingle) {
        view_.channel = channel;
        if (LayoutSingle()) view_.layout = kLayoutSingle;
        return;
    }
    if (IsCycling(graph))
        ShowChannel(channel);
    else
        SelectDeviceChannel(channel);
    if (view_.layout == kLayoutBigSmall) ApplyLayout(kLayoutBigSmall);
}

void CChannelViews::OnPaneClick(int channel) {
    CaptureGraph* graph = host_.Graph();
    if (!graph || !ChannelEnabled(channel) || host_.RecordingRuns()) return;
    const bool cycling = IsCycling(graph);
    if (view_.layout == kLayoutQuad) {
        if (cycling)
            ShowChannel(channel);
        else
            SelectDeviceChannel(channel);
    } else if (view_.layout == kLayoutBigSmall) {
        if (cycling)
            view_.channel = channel;
        else
            SelectDeviceChannel(channel);
        ApplyLayout(kLayoutBigSmall);
    }
}

void CChannelViews::OnPaneDoubleClick(int channel) {
    if (!host_.Graph() || !ChannelEnabled(channel)) return;
    const bool recording = host_.RecordingRuns();
    if (view_.layout == kLayoutQuad && (!recording || view_.channel == channel)) {
        // While recording only the recorded (current) channel can fill the window.
        view_.channel = channel;
        if (LayoutSingle()) view_.layout = kLayoutSingle;
    } else if (view_.layout == kLayoutSingle) {
        if (!recording) EnterCyclingMode();
        if (host_.Graph() && LayoutQuad()) view_.layout = kLayoutQuad;
    }
}

void CChannelViews::OnStyle(int style) {
    if (!host_.Graph() || !host_.EnsureUnlocked() || view_.layout == style) return;
    if (style == kLayoutSingle) {
        if (LayoutSingle()) view_.layout = kLayoutSingle;
        return;
    }
    // Leaving single view returns the device to its round-robin, unless it records.
    if (view_.layout == kLayoutSingle && !host_.RecordingRuns()) EnterCyclingMode();
    if (style == kLayoutQuad ? LayoutQuad() : LayoutBigSmall()) view_.layout = style;
}

void CChannelViews::OnCyclingOn() {
    CaptureGraph* graph = host_.Graph();
    if (!graph || !host_.EnsureUnlocked()) return;
    if (IsCycling(graph) || view_.layout == kLayoutSingle || host_.RecordingRuns()) return;
    EnterCyclingMode();
    ShowChannel(view_.channel);
    ApplyLayout(view_.layout);
}

void CChannelViews::OnCyclingOff() {
    CaptureGraph* graph = host_.Graph();
    if (!graph || !host_.EnsureUnlocked()) return;
    if (!graph->device || !IsCycling(graph) || host_.RecordingRuns()) return;
    view_.channel = SelectDeviceChannel(view_.channel);
}
