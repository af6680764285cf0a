#include <QPainter>
#include <QPainterPath>

#include "tools/artwork/artwork.h"

namespace artwork {
namespace {

// Dialog units to skin pixels: 7/4 pixel per unit on both axes.
QRectF Units(double x, double y, double w, double h) {
    return QRectF(x * 7 / 4, y * 7 / 4, w * 7 / 4, h * 7 / 4);
}

void Caption(QPainter& p, const QRectF& r, const QString& text) {
    QFont font("WenQuanYi Micro Hei");
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(QColor(190, 205, 225));
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
}

void Well(QPainter& p, const QRectF& r) {
    p.setPen(QPen(QColor(20, 24, 32), 1));
    p.setBrush(QColor(38, 44, 56));
    p.drawRoundedRect(r, 6, 6);
}

}  // namespace

QImage Skin() {
    QImage image(881, 608, QImage::Format_RGB32);
    image.fill(QColor(0, 255, 0));
    QPainter p(&image);

    // The window's outline; everything outside stays pure green and is cut away.
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, 881, 608), 18, 18);
    p.setRenderHint(QPainter::Antialiasing, false);
    QLinearGradient body(0, 0, 0, 608);
    body.setColorAt(0, QColor(62, 72, 92));
    body.setColorAt(1, QColor(34, 40, 52));
    p.fillPath(outline, body);
    p.setClipPath(outline);
    p.setRenderHint(QPainter::Antialiasing, true);

    // The video area behind the four panes, and the separators between them.
    const QRectF video = Units(15, 11, 364, 274).adjusted(-5, -5, 5, 5);
    p.setPen(QPen(QColor(90, 104, 130), 2));
    p.setBrush(Qt::black);
    p.drawRoundedRect(video, 4, 4);

    // Right-hand control panel.
    Well(p, QRectF(704, 24, 168, 446));
    Caption(p, QRectF(716, 24, 150, 14), "通道");
    Caption(p, QRectF(716, 70, 150, 14), "轮巡");
    Caption(p, QRectF(716, 138, 150, 14), "设置");
    Caption(p, QRectF(716, 322, 150, 14), "抓拍");

    // Title in the top bar, beside the Help, minimise and Close buttons.
    QFont title("Liberation Sans");
    title.setBold(true);
    title.setPixelSize(13);
    p.setFont(title);
    p.setPen(QColor(220, 230, 245));
    p.drawText(QRectF(704, 2, 110, 18), Qt::AlignLeft | Qt::AlignVCenter, "Quadrel");

    // Bottom bar with the layout, search and alarm buttons, the volume and the lock.
    Well(p, QRectF(18, 520, 850, 76));
    Caption(p, QRectF(30, 523, 200, 14), "画面");
    return image;
}

}  // namespace artwork
