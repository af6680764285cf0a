#include <QLinearGradient>
#include <QPainter>

#include "tools/artwork/artwork.h"

namespace artwork {

QImage ProgramIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 64-unit square and scaled, so that every size shows the same picture.
    p.scale(size / 64.0, size / 64.0);

    // The body in the skin's blue-grey gradient with its lighter rim.
    QLinearGradient body(0, 2, 0, 62);
    body.setColorAt(0, QColor(62, 72, 92));
    body.setColorAt(1, QColor(34, 40, 52));
    p.setPen(QPen(QColor(90, 104, 130), 2));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);

    // Four panes, each with a scene of its own colour, as the four cameras show.
    const QColor scenes[4] = {QColor(80, 170, 220), QColor(120, 200, 120), QColor(230, 180, 70),
                              QColor(210, 100, 110)};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        const QRectF pane(9 + (i % 2) * 24, 9 + (i / 2) * 24, 22, 22);
        p.setBrush(QColor(20, 24, 32));
        p.drawRect(pane);
        p.setBrush(scenes[i]);
        p.drawRect(QRectF(pane.left(), pane.top() + 13, pane.width(), 9));
        p.drawEllipse(QPointF(pane.left() + 7, pane.top() + 7), 3.5, 3.5);
    }
    return image;
}

}  // namespace artwork
