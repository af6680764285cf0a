// The channel views: the layout rectangles and the three layouts, the current channel, and the
// device's two modes (its own round-robin over the valid inputs, or fixed on one input) with the
// channel timing.
#include <algorithm>
#include <array>
#include <iterator>
#include <optional>

#include "viewer/capture/device_commands.h"
#include "viewer/channels/channel_mask.h"
#include "viewer/channels/channel_selection.h"
#include "viewer/channels/layout_rects.h"
#include "viewer/channels/pane_placement.h"
#include "viewer/main_window/main_dialog_ids.h"
#include "viewer/main_window/quadrel_dlg.h"
#include "viewer/main_window/video_pane.h"
#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"

namespace {

constexpr DWORD kManualChannelControl = 1;
constexpr int kChannelButtons[4] = {IDC_CHANNEL1, IDC_CHANNEL2, IDC_CHANNEL3, IDC_CHANNEL4};

RECT WindowRect(const QWidget* pane) {
    if (!pane) return RECT{0, 0, 0, 0};
    const QRect r = pane->geometry();
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QRect ToQRect(const RECT& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace

void CQuadrelDlg::ComputeLayoutRects() {
    std::array<RECT, 4> panes{};
    for (std::size_t k = 0; k < m_panes.size(); ++k) panes[k] = WindowRect(m_panes[k]);
    const channel_views::LayoutRects rects = channel_views::ComputeLayoutRects(panes);
    std::copy(rects.quad.begin(), rects.quad.end(), m_rcQuad);
    m_rcFull = rects.full;
    m_rcBig = rects.big;
    std::copy(rects.small.begin(), rects.small.end(), m_rcSmall);
}

bool CQuadrelDlg::PlaceAndAttachPanes(int layout) {
    channel_views::LayoutRects rects;
    std::copy(std::begin(m_rcQuad), std::end(m_rcQuad), rects.quad.begin());
    rects.full = m_rcFull;
    rects.big = m_rcBig;
    std::copy(std::begin(m_rcSmall), std::end(m_rcSmall), rects.small.begin());

    std::optional<channel_views::PanePlacement> placement;
    if (layout == 4)
        placement = channel_views::PlaceQuad(rects, m_channel);
    else if (layout == 3)
        placement = channel_views::PlaceBigSmall(rects, m_channel);
    else
        placement = channel_views::PlaceSingle(rects, m_channel);
    // Single view without a current channel leaves the panes where they are.
    if (placement) {
        for (std::size_t k = 0; k < m_panes.size(); ++k) {
            CVideoPane* pane = m_panes[k];
            if (!pane) continue;
            const channel_views::PaneSpot& spot = placement->panes[k];
            if (spot.rect) pane->setGeometry(ToQRect(*spot.rect));
            pane->setVisible(spot.shown);
        }
        m_channel = placement->channel;
        update();  // the frames of the old places go
    }

    PaneLayout panes{};
    for (std::size_t k = 0; k < m_panes.size(); ++k) {
        panes.window[k] = m_panes[k];
        panes.rect[k] =
            m_panes[k] ? RECT{0, 0, m_panes[k]->width(), m_panes[k]->height()} : RECT{0, 0, 0, 0};
    }
    return SUCCEEDED(SetupPreviewPanes(m_pGraph, &panes));
}

int CQuadrelDlg::ApplyLayout(int style) {
    if (!m_pGraph) return 4;
    bool done = false;
    switch (style) {
        case 1:
            done = LayoutSingle();
            break;
        case 3:
            done = LayoutBigSmall();
            break;
        case 4:
            done = LayoutQuad();
            break;
        default:
            return 5;
    }
    if (!done) return 6;
    m_layout = style;
    return 0;
}

bool CQuadrelDlg::LayoutSingle() {
    const int before = m_channel;
    if (!PlaceAndAttachPanes(1)) return false;
    m_channel = SelectDeviceChannel(m_channel);
    // Without a current channel the panes could not be placed; once the device has found one
    // with a signal, the single view shows it.
    if (before == 0 && m_channel != 0 && !PlaceAndAttachPanes(1)) return false;
    return true;
}

bool CQuadrelDlg::LayoutBigSmall() {
    if (!PlaceAndAttachPanes(3)) return false;
    ShowChannel(m_channel);
    return true;
}

bool CQuadrelDlg::LayoutQuad() {
    if (!PlaceAndAttachPanes(4)) return false;
    ShowChannel(m_channel);
    return true;
}

void CQuadrelDlg::ShowChannel(int channel) {
    if (!m_pGraph || !m_pSettings) return;
    m_channel = channel_views::ResolveCurrentChannel(
        channel, channel_views::EnabledChannelMask(m_pSettings->channelEnabled));
    DrawPaneFrames(m_channel);
    DrawClosedPanes();
    if (baselineSignalMask != -1) {
        std::uint32_t mask = 0;
        GetSignalMask(m_pGraph, &mask);
        DrawNoSignalPanes(static_cast<std::uint32_t>(baselineSignalMask));
        DrawLostSignalPanes(mask);
    }
    for (int n = 1; n <= 4; ++n) SetLatched(kChannelButtons[n - 1], n == m_channel);
}

int CQuadrelDlg::SelectDeviceChannel(int channel) {
    if (!m_pGraph) return 0;
    if (channel != 0) {
        if (m_pGraph->device) m_pGraph->device->SelectDisplayChannel(channel);
        SetLatched(IDC_ON, false);
        SetLatched(IDC_OFF, true);
        ShowChannel(channel);
        return channel;
    }
    std::uint32_t mask = 0;
    GetSignalMask(m_pGraph, &mask);
    const int lowest = channel_views::LowestChannelWithSignal(mask);
    if (lowest == 0 || !m_pGraph->device) return 0;
    m_pGraph->device->SelectDisplayChannel(lowest);
    ShowChannel(lowest);
    SetLatched(IDC_ON, false);
    SetLatched(IDC_OFF, true);
    return lowest;
}

void CQuadrelDlg::EnterCyclingMode() {
    if (!m_pGraph) return;
    if (m_pGraph->device) m_pGraph->device->StartCycling();
    SetLatched(IDC_ON, true);
    SetLatched(IDC_OFF, false);
}

int CQuadrelDlg::ApplyChannelControl() {
    if (!m_pGraph) return E_FAIL;
    SettingsKeyHolder* holder = OpenSettingsKey();
    if (!holder) return 3;
    if (!m_pGraph->device) return 2;
    DWORD mode = kManualChannelControl;
    ReadSettingDword(holder, setting::kChannelControlMode, &mode);
    if (mode != kManualChannelControl) {
        m_pGraph->device->SetCycleTiming(1, true);
        return 0;
    }
    DWORD span = 1;
    DWORD fast = 0;
    ReadSettingDword(holder, setting::kChannelTurnSpan, &span);
    ReadSettingDword(holder, setting::kFastTurning, &fast);
    m_pGraph->device->SetCycleTiming(static_cast<int>(span), fast != 0);
    return 0;
}
