// What the channel views paint over and round the video panes: the coloured frames round the
// panes and the pictures of panes without video ("Channel n Close", "No Signal", "Lost Signal").
#include <QPen>
#include <string_view>

#include "platform/text/colorref.h"
#include "viewer/channels/channel_mask.h"
#include "viewer/channels/channel_views.h"
#include "viewer/channels/pane_frames.h"
#include "viewer/channels/pane_picture_render.h"

namespace {

std::u16string_view ChannelTitle(const CaptureGraph* graph, int channel) {
    if (!graph) return {};
    return std::u16string_view(graph->channelTitles[channel - 1]);
}

}  // namespace

void CChannelViews::DrawPaneFrames(int channel) {
    framedChannel_ = channel;
    host_.RepaintWindow();  // the frames are painted with the window (PaintPaneFrames)
    const CaptureGraph* graph = host_.Graph();
    for (int k = 0; k < 4; ++k)
        if (graph && graph->renderers[k]) host_.RepaintPane(k);
}

void CChannelViews::PaintPaneFrames(QPainter& painter) const {
    if (!host_.Graph() || framedChannel_ < 0) return;
    // Where the shown panes are now, in the window's client coordinates.
    std::array<RECT, 4> rects{};
    for (int k = 0; k < 4; ++k)
        if (host_.PaneShown(k)) rects[static_cast<std::size_t>(k)] = host_.PaneRect(k);
    const std::vector<channel_views::PaneFrame> frames =
        channel_views::PaneFrames(view_.layout, framedChannel_, rects);
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

void CChannelViews::PaintPanePictures(const channel_views::PanePictures& pictures) {
    const CaptureGraph* graph = host_.Graph();
    for (int n = 1; n <= 4; ++n) {
        const channel_views::PanePicture kind = pictures[static_cast<std::size_t>(n - 1)];
        const QSize size = host_.PaneSize(n - 1);
        if (!size.isValid() || kind == channel_views::PanePicture::kNone) continue;
        host_.SetPanePicture(n - 1,
                             channel_views::DrawPanePicture(kind, n, ChannelTitle(graph, n), size));
    }
}

std::uint32_t CChannelViews::EnabledChannels() const {
    const GrabberSettings* settings = host_.Settings();
    return settings ? channel_views::EnabledChannelMask(settings->channelEnabled) : 0;
}

void CChannelViews::DrawClosedPanes() {
    if (!host_.Settings()) return;
    PaintPanePictures(channel_views::ClosedPanes(EnabledChannels()));
}

void CChannelViews::DrawNoSignalPanes(std::uint32_t mask) {
    if (!host_.Settings()) return;
    PaintPanePictures(channel_views::NoSignalPanes(EnabledChannels(), mask));
}

void CChannelViews::DrawLostSignalPanes(std::uint32_t mask) {
    if (!host_.Settings()) return;
    PaintPanePictures(
        channel_views::LostSignalPanes(EnabledChannels(), mask, host_.BaselineSignalMask()));
}
