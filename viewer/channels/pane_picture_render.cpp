#include "viewer/channels/pane_picture_render.h"

#include <QString>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>

#include "platform/text/font_cache.h"
#include "platform/text/text_out.h"

namespace channel_views {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr gdi::TextColors kWhiteOnBlack{kWhite, kBlack, true};

LOGFONTW MakeFont(LONG height, LONG width, LONG weight, BYTE pitchAndFamily,
                  std::u16string_view face) {
    LOGFONTW font{};
    font.lfHeight = height;
    font.lfWidth = width;
    font.lfWeight = weight;
    font.lfPitchAndFamily = pitchAndFamily;
    const std::size_t count = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
    std::copy_n(face.begin(), count, std::begin(font.lfFaceName));
    return font;
}

// A black 24-bit picture of `size`; null when it cannot be made.
QImage BlackPicture(QSize size) {
    QImage image(size, QImage::Format_BGR888);
    if (!image.isNull()) image.fill(Qt::black);
    return image;
}

// The picture's pixels as a bitmap that text is drawn into; valid while `image` is not copied
// or changed otherwise.
gdi::ColorBitmap24 BitmapOf(QImage& image) {
    return gdi::ColorBitmap24{image.bits(), image.width(), image.height(),
                              static_cast<LONG>(image.bytesPerLine()), false};
}

void DrawLine(const LOGFONTW& logFont, std::u16string_view text, const RECT& rect, UINT format,
              const gdi::ColorBitmap24& target) {
    const std::shared_ptr<const gdi::Font> font = gdi::CreateFontIndirectW(logFont);
    if (!font || text.empty()) return;
    gdi::DrawText24(*font, text.data(), static_cast<int>(text.size()), rect, format, kWhiteOnBlack,
                    target);
}

}  // namespace

LOGFONTW PaneDefaultFont() {
    return MakeFont(16, 0, FW_BOLD, VARIABLE_PITCH | FF_SWISS, u"System");
}

LOGFONTW SignalPictureFont() {
    return MakeFont(12, 10, FW_NORMAL, 0x20, u"Arial");
}

QImage DrawClosedPicture(int channel, QSize size) {
    if (size.isEmpty()) return QImage();
    QImage image = BlackPicture(size);
    if (image.isNull()) return image;
    const gdi::ColorBitmap24 bitmap = BitmapOf(image);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "Channel %d Close", channel);
    const std::u16string text = QString::fromLatin1(buffer).toStdU16String();
    const RECT rect{4, 4, size.width(), size.height()};
    DrawLine(PaneDefaultFont(), text, rect, gdi::DT_LEFT | gdi::DT_TOP, bitmap);
    return image;
}

QImage DrawSignalPicture(PanePicture kind, std::u16string_view title, QSize size) {
    std::u16string_view text;
    if (kind == PanePicture::kNoSignal) {
        text = u"No Signal";
    } else if (kind == PanePicture::kLostSignal) {
        text = u"Lost Signal";
    } else {
        return QImage();
    }
    if (size.isEmpty()) return QImage();
    QImage image = BlackPicture(size);
    if (image.isNull()) return image;
    const gdi::ColorBitmap24 bitmap = BitmapOf(image);
    const LONG w = size.width();
    const LONG h = size.height();
    const LOGFONTW font = SignalPictureFont();
    DrawLine(font, text, RECT{0, h / 2 - 10, w, h / 2 + 10}, gdi::DT_CENTER, bitmap);
    DrawLine(font, title, RECT{0, 2, w, h}, gdi::DT_LEFT | gdi::DT_TOP, bitmap);
    return image;
}

QImage DrawPanePicture(PanePicture kind, int channel, std::u16string_view title, QSize size) {
    switch (kind) {
        case PanePicture::kClosed:
            return DrawClosedPicture(channel, size);
        case PanePicture::kNoSignal:
        case PanePicture::kLostSignal:
            return DrawSignalPicture(kind, title, size);
        case PanePicture::kNone:
            break;
    }
    return QImage();
}

}  // namespace channel_views
