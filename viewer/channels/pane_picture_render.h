// The pictures painted into a pane that shows no video, drawn at the pane's client size, white
// on black:
//
//   "Channel %d Close"   black; the text at (4, 4), left and top aligned, in the pane's default
//                        font (PaneDefaultFont)
//   "No Signal",         black; the text centred across the full width in the line from
//   "Lost Signal"        h / 2 - 10 to h / 2 + 10 (h the client height, top aligned in it); then
//                        the channel title from (0, 2) to the bottom right, left aligned; both in
//                        SignalPictureFont
//
// Text is clipped to its rectangle. Pictures are 24-bit (QImage::Format_BGR888). Any thread.
#pragma once

#include <QImage>
#include <QSize>
#include <string_view>

#include "platform/text/logfont.h"
#include "viewer/channels/pane_pictures.h"

namespace channel_views {

// The font a pane's drawing context starts with: the system font, a 16-pixel bold cell.
LOGFONTW PaneDefaultFont();
// "Arial", height 12, width 10, weight 400, character set 0, pitch and family 0x20.
LOGFONTW SignalPictureFont();

// "Channel %d Close" for `channel`. A null image for an empty size.
QImage DrawClosedPicture(int channel, QSize size);
// "No Signal" for kNoSignal, "Lost Signal" for kLostSignal, with the channel's title. A null
// image for an empty size or another kind.
QImage DrawSignalPicture(PanePicture kind, std::u16string_view title, QSize size);
// The picture of `kind` for the pane of `channel`, whose title is `title`; a null image for
// kNone.
QImage DrawPanePicture(PanePicture kind, int channel, std::u16string_view title, QSize size);

}  // namespace channel_views
