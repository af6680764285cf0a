// What the main window paints over its video panes: the coloured frames round the panes and the
// pictures of panes without video ("Channel n Close", "No Signal", "Lost Signal").
#include <QPainter>
#include <QPen>
#include <string_view>

#include "platform/text/colorref.h"
#include "viewer/channels/channel_mask.h"
#include "viewer/channels/pane_frames.h"
#include "viewer/channels/pane_picture_render.h"
#include "viewer/main_window/quadrel_dlg.h"
#include "viewer/main_window/video_pane.h"

namespace {

std::u16string_view ChannelTitle(const CaptureGraph* graph, int channel) {
    if (!graph) return {};
    return std::u16string_view(graph->channelTitles[channel - 1]);
}

}  // namespace

void CQuadrelDlg::DrawPaneFrames(int channel) {
    framedChannel_ = channel;
    update();  // the frames are drawn with the window (PaintPaneFrames)
    for (std::size_t k = 0; k < m_panes.size(); ++k)
        if (m_panes[k] && m_pGraph && m_pGraph->renderers[k]) m_panes[k]->update();
}

void CQuadrelDlg::PaintPaneFrames(QPainter& painter) const {
    if (!m_pGraph || framedChannel_ < 0) return;
    // Where the panes are now, in this window's client coordinates.
    std::array<RECT, 4> rects{};
    for (std::size_t k = 0; k < m_panes.size(); ++k) {
        const CVideoPane* pane = m_panes[k];
        if (!pane || !pane->isVisibleTo(this)) continue;
        const QRect r = pane->geometry();
        rects[k] = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    }
    const std::vector<channel_views::PaneFrame> frames =
        channel_views::PaneFrames(m_layout, framedChannel_, rects);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    // The current pane last, so that no neighbour's frame covers its red one where frames meet.
    for (const bool current : {false, true}) {
        for (const channel_views::PaneFrame& frame : frames) {
            if (!frame.outlined || (frame.channel == framedChannel_) != current) continue;
            QPen pen(
                QColor(GetRValue(frame.color), GetGValue(frame.color), GetBValue(frame.color)));
            pen.setWidth(frame.penWidth);
            pen.setJoinStyle(Qt::MiterJoin);
            painter.setPen(pen);
            painter.drawRect(QRectF(frame.rect.left, frame.rect.top,
                                    frame.rect.right - frame.rect.left,
                                    frame.rect.bottom - frame.rect.top));
        }
    }
    painter.restore();
}

void CQuadrelDlg::PaintPanePictures(const channel_views::PanePictures& pictures) {
    for (int n = 1; n <= 4; ++n) {
        const channel_views::PanePicture kind = pictures[static_cast<std::size_t>(n - 1)];
        CVideoPane* pane = Pane(n - 1);
        if (!pane || kind == channel_views::PanePicture::kNone) continue;
        pane->SetPicture(
            channel_views::DrawPanePicture(kind, n, ChannelTitle(m_pGraph, n), pane->size()));
    }
}

std::uint32_t CQuadrelDlg::EnabledChannels() const {
    return m_pSettings ? channel_views::EnabledChannelMask(m_pSettings->channelEnabled) : 0;
}

void CQuadrelDlg::DrawClosedPanes() {
    if (!m_pSettings) return;
    PaintPanePictures(channel_views::ClosedPanes(EnabledChannels()));
}

void CQuadrelDlg::DrawNoSignalPanes(std::uint32_t mask) {
    if (!m_pSettings) return;
    PaintPanePictures(channel_views::NoSignalPanes(EnabledChannels(), mask));
}

void CQuadrelDlg::DrawLostSignalPanes(std::uint32_t mask) {
    if (!m_pSettings) return;
    PaintPanePictures(channel_views::LostSignalPanes(EnabledChannels(), mask, baselineSignalMask));
}
