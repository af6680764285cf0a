// The channel views: the layout rectangles and the three layouts, the current channel, and the
// device's two modes with the channel timing.
#include "viewer/channels/channel_views.h"

#include <optional>

#include "viewer/capture/device_commands.h"
#include "viewer/channels/channel_mask.h"
#include "viewer/channels/channel_selection.h"
#include "viewer/channels/pane_placement.h"
#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"

void CChannelViews::ComputeLayoutRects() {
    std::array<RECT, 4> panes{};
    for (int k = 0; k < 4; ++k) panes[static_cast<std::size_t>(k)] = host_.PaneRect(k);
    rects_ = channel_views::ComputeLayoutRects(panes);
}

bool CChannelViews::PlaceAndAttachPanes(int layout) {
    std::optional<channel_views::PanePlacement> placement;
    if (layout == channel_views::kLayoutQuad)
        placement = channel_views::PlaceQuad(rects_, view_.channel);
    else if (layout == channel_views::kLayoutBigSmall)
        placement = channel_views::PlaceBigSmall(rects_, view_.channel);
    else
        placement = channel_views::PlaceSingle(rects_, view_.channel);
    // Single view without a current channel leaves the panes where they are.
    if (placement) {
        for (int k = 0; k < 4; ++k) {
            const channel_views::PaneSpot& spot = placement->panes[static_cast<std::size_t>(k)];
            host_.PlacePane(k, spot.rect, spot.shown);
        }
        view_.channel = placement->channel;
        host_.RepaintWindow();  // the frames of the old places go
    }
    const PaneLayout panes = host_.PreviewPanes();
    return SUCCEEDED(SetupPreviewPanes(host_.Graph(), &panes));
}

int CChannelViews::ApplyLayout(int style) {
    if (!host_.Graph()) return 4;
    bool done = false;
    switch (style) {
        case channel_views::kLayoutSingle:
            done = LayoutSingle();
            break;
        case channel_views::kLayoutBigSmall:
            done = LayoutBigSmall();
            break;
        case channel_views::kLayoutQuad:
            done = LayoutQuad();
            break;
        default:
            return 5;
    }
    if (!done) return 6;
    view_.layout = style;
    return 0;
}

bool CChannelViews::LayoutSingle() {
    const int before = view_.channel;
    if (!PlaceAndAttachPanes(channel_views::kLayoutSingle)) return false;
    view_.channel = SelectDeviceChannel(view_.channel);
    // Without a current channel the panes could not be placed; once the device has found one
    // with a signal, the single view shows it.
    if (before == 0 && view_.channel != 0 && !PlaceAndAttachPanes(channel_views::kLayoutSingle))
        return false;
    return true;
}

bool CChannelViews::LayoutBigSmall() {
    if (!PlaceAndAttachPanes(channel_views::kLayoutBigSmall)) return false;
    ShowChannel(view_.channel);
    return true;
}

bool CChannelViews::LayoutQuad() {
    if (!PlaceAndAttachPanes(channel_views::kLayoutQuad)) return false;
    ShowChannel(view_.channel);
    return true;
}

void CChannelViews::ShowChannel(int channel) {
    CaptureGraph* graph = host_.Graph();
    if (!graph || !host_.Settings()) return;
    view_.channel = channel_views::ResolveCurrentChannel(channel, EnabledChannels());
    DrawPaneFrames(view_.channel);
    DrawClosedPanes();
    const std::int32_t baseline = host_.BaselineSignalMask();
    if (baseline != -1) {
        std::uint32_t mask = 0;
        GetSignalMask(graph, &mask);
        DrawNoSignalPanes(static_cast<std::uint32_t>(baseline));
        DrawLostSignalPanes(mask);
    }
    for (int n = 1; n <= 4; ++n) host_.LatchChannelButton(n, n == view_.channel);
}

int CChannelViews::SelectDeviceChannel(int channel) {
    CaptureGraph* graph = host_.Graph();
    if (!graph) return 0;
    if (channel != 0) {
        if (graph->device) graph->device->SelectDisplayChannel(channel);
        host_.LatchDeviceMode(false);
        ShowChannel(channel);
        return channel;
    }
    std::uint32_t mask = 0;
    GetSignalMask(graph, &mask);
    const int lowest = channel_views::LowestChannelWithSignal(mask);
    if (lowest == 0 || !graph->device) return 0;
    graph->device->SelectDisplayChannel(lowest);
    ShowChannel(lowest);
    host_.LatchDeviceMode(false);
    return lowest;
}

void CChannelViews::EnterCyclingMode() {
    CaptureGraph* graph = host_.Graph();
    if (!graph) return;
    if (graph->device) graph->device->StartCycling();
    host_.LatchDeviceMode(true);
}

int CChannelViews::ApplyChannelControl() {
    CaptureGraph* graph = host_.Graph();
    if (!graph) return E_FAIL;
    SettingsKeyHolder* holder = OpenSettingsKey();
    if (!holder) return 3;
    if (!graph->device) return 2;
    DWORD mode = setting::kManualChannelControl;
    ReadSettingDword(holder, setting::kChannelControlMode, &mode);
    if (mode != setting::kManualChannelControl) {
        graph->device->SetCycleTiming(1, true);
        return 0;
    }
    DWORD span = 1;
    DWORD fast = 0;
    ReadSettingDword(holder, setting::kChannelTurnSpan, &span);
    ReadSettingDword(holder, setting::kFastTurning, &fast);
    graph->device->SetCycleTiming(static_cast<int>(span), fast != 0);
    return 0;
}
