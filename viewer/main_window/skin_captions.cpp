#include "viewer/main_window/skin_captions.h"

#include <QFont>
#include <QPainter>

#include "platform/ui/ui_text.h"

namespace {

// Where tools/artwork draws the captions, in its font and colour.
constexpr SkinCaption kCaptions[] = {
    {QRect(716, 24, 150, 14), "通道"},  {QRect(716, 70, 150, 14), "轮巡"},
    {QRect(716, 138, 150, 14), "设置"}, {QRect(716, 322, 150, 14), "抓拍"},
    {QRect(30, 523, 200, 14), "画面"},
};
constexpr int kCaptionPixels = 12;
const QColor kCaptionColour(190, 205, 225);

}  // namespace

std::span<const SkinCaption> SkinCaptions() {
    return kCaptions;
}

QImage SkinWithTranslatedCaptions(QImage skin) {
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(kCaptionPixels);
    for (const SkinCaption& caption : kCaptions) {
        const QString translated = ui_text::Translate(ui_text::kSkin, caption.text);
        if (translated == QString::fromUtf8(caption.text)) continue;
        if (skin.format() != QImage::Format_RGB32)
            skin = skin.convertToFormat(QImage::Format_RGB32);
        // The captions sit on a plain panel (its edge runs along the rectangle's top row): the
        // panel's colour just left of the caption covers the artwork's text.
        const QRect text = caption.rect.adjusted(0, 1, 0, 0);
        const QPoint panel(caption.rect.left() - 2, caption.rect.center().y());
        if (!skin.rect().contains(caption.rect) || !skin.rect().contains(panel)) continue;
        QPainter painter(&skin);
        painter.fillRect(text, skin.pixelColor(panel));
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setFont(font);
        painter.setPen(kCaptionColour);
        painter.drawText(caption.rect, Qt::AlignLeft | Qt::AlignVCenter, translated);
    }
    return skin;
}
