// The channel views as far as start-up and capture need them: the layout rectangles, the device's
// cycling mode and its channel timing. Switching channels and layouts and the pane pictures are
// the channel views' own handlers.
#include "viewer/capture/device_commands.h"
#include "viewer/main_window/main_dialog_ids.h"
#include "viewer/main_window/quadrel_dlg.h"
#include "viewer/main_window/video_pane.h"
#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"

namespace {

constexpr DWORD kManualChannelControl = 1;

RECT WindowRect(const QWidget* pane) {
    if (!pane) return RECT{0, 0, 0, 0};
    const QRect r = pane->geometry();
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

void CQuadrelDlg::ComputeLayoutRects() {
    for (std::size_t k = 0; k < m_panes.size(); ++k) m_rcQuad[k] = WindowRect(m_panes[k]);
    const RECT& first = m_rcQuad[0];  // pane 1005, channel 1, top left
    const RECT& third = m_rcQuad[2];  // pane 1007, channel 3, bottom right
    m_rcFull = RECT{first.left, first.top, third.right, third.bottom};
    const LONG w = m_rcFull.right - m_rcFull.left;
    const LONG h = m_rcFull.bottom - m_rcFull.top;
    m_rcBig = RECT{m_rcFull.left, m_rcFull.top, m_rcFull.right, m_rcFull.top + (3 * h) / 4 - 4};
    const LONG top = m_rcBig.bottom + 8;
    m_rcSmall[0] = RECT{m_rcFull.left, top, m_rcFull.left + w / 3 - 4, m_rcFull.bottom};
    m_rcSmall[1] =
        RECT{m_rcFull.left + w / 3 + 4, top, m_rcFull.left + 2 * (w / 3), m_rcFull.bottom};
    m_rcSmall[2] = RECT{m_rcFull.left + 2 * (w / 3) + 8, top, m_rcFull.right, m_rcFull.bottom};
}

void CQuadrelDlg::ShowChannel(int /*channel*/) {
    // Hook of the channel views: the red frame, the latched channel button and the pane
    // pictures of the current channel.
}

void CQuadrelDlg::DrawClosedPanes() {
    // Hook of the channel views: "Channel %d Close" in the panes of disabled channels.
}

void CQuadrelDlg::OnPaneClick(int /*channel*/) {
    // Hook of the channel views: a click on a pane makes its channel current.
}

void CQuadrelDlg::OnPaneDoubleClick(int /*channel*/) {
    // Hook of the channel views: a double click switches between the single and quad layouts.
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
