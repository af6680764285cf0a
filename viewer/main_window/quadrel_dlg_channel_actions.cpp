// What the user does to the channel views: the channel buttons, clicks and double clicks on the
// panes, the three layout buttons and the ON and OFF buttons. Every action first tests its
// conditions in its own order; the login gate stops it while the viewer stays locked. While a
// recording runs the device stays on the recorded channel.
#include "viewer/capture/device_commands.h"
#include "viewer/main_window/main_dialog_ids.h"
#include "viewer/main_window/quadrel_dlg.h"

namespace {

bool ChannelEnabled(const GrabberSettings& settings, int channel) {
    return channel >= 1 && channel <= 4 && settings.channelEnabled[channel - 1] != 0;
}

}  // namespace

void CQuadrelDlg::OnChannelButton(int channel) {
    if (!m_pGraph || m_recording || !m_pSettings) return;
    if (!ChannelEnabled(*m_pSettings, channel) || !EnsureUnlocked()) return;
    if (m_layout == 1) {
        m_channel = channel;
        if (LayoutSingle()) m_layout = 1;
        return;
    }
    if (IsCycling(m_pGraph))
        ShowChannel(channel);
    else
        SelectDeviceChannel(channel);
    if (m_layout == 3) ApplyLayout(3);
}

void CQuadrelDlg::OnPaneClick(int channel) {
    if (!m_pGraph || !m_pSettings || !ChannelEnabled(*m_pSettings, channel) || m_recording) return;
    const bool cycling = IsCycling(m_pGraph);
    if (m_layout == 4) {
        if (cycling)
            ShowChannel(channel);
        else
            SelectDeviceChannel(channel);
    } else if (m_layout == 3) {
        if (cycling)
            m_channel = channel;
        else
            SelectDeviceChannel(channel);
        ApplyLayout(3);
    }
}

void CQuadrelDlg::OnPaneDoubleClick(int channel) {
    if (!m_pGraph || !m_pSettings || !ChannelEnabled(*m_pSettings, channel)) return;
    if (m_layout == 4 && (!m_recording || m_channel == channel)) {
        // While recording only the recorded (current) channel can fill the window.
        m_channel = channel;
        if (LayoutSingle()) m_layout = 1;
    } else if (m_layout == 1) {
        if (!m_recording) EnterCyclingMode();
        if (m_pGraph && LayoutQuad()) m_layout = 4;
    }
}

void CQuadrelDlg::OnStyle(int style) {
    if (!m_pGraph || !EnsureUnlocked() || m_layout == style) return;
    if (style == 1) {
        if (LayoutSingle()) m_layout = 1;
        return;
    }
    // Leaving single view returns the device to its round-robin, unless it records.
    if (m_layout == 1 && !m_recording) EnterCyclingMode();
    if (style == 4 ? LayoutQuad() : LayoutBigSmall()) m_layout = style;
}

void CQuadrelDlg::OnCyclingOn() {
    if (!m_pGraph || !EnsureUnlocked()) return;
    if (IsCycling(m_pGraph) || m_layout == 1 || m_recording) return;
    EnterCyclingMode();
    ShowChannel(m_channel);
    ApplyLayout(m_layout);
}

void CQuadrelDlg::OnCyclingOff() {
    if (!m_pGraph || !EnsureUnlocked()) return;
    if (!m_pGraph->device || !IsCycling(m_pGraph) || m_recording) return;
    m_channel = SelectDeviceChannel(m_channel);
}
