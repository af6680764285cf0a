#include <QPainter>
#include <QPainterPath>
#include <functional>

#include "tools/artwork/artwork.h"

namespace artwork {
namespace {

enum class Look { kNormal, kHover, kPressed, kDisabled };

// The outline every button of one shape id shares.
QPainterPath Outline(QSize size) {
    QPainterPath path;
    const QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    if (size.width() == size.height() || size.width() <= 14) {
        path.addEllipse(r);
    } else {
        const double radius = std::min(size.height() / 2.0 - 1, 9.0);
        path.addRoundedRect(r, radius, radius);
    }
    return path;
}

QImage ShapeImage(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(Outline(size), Qt::black);
    return image;
}

using Drawing = std::function<void(QPainter&, const QRectF&, QColor ink)>;

Drawing Label(const QString& text) {
    return [text](QPainter& p, const QRectF& r, QColor ink) {
        QFont font("Liberation Sans");
        font.setBold(true);
        font.setPixelSize(std::max(8, std::min(static_cast<int>(r.height() * 0.5), 16)));
        while (font.pixelSize() > 7 && QFontMetrics(font).horizontalAdvance(text) > r.width() - 6)
            font.setPixelSize(font.pixelSize() - 1);
        p.setFont(font);
        p.setPen(ink);
        p.drawText(r, Qt::AlignCenter, text);
    };
}

// Pane layout icons: 4 quad, 3 one big and three small, 1 single.
Drawing LayoutIcon(int layout) {
    return [layout](QPainter& p, const QRectF& r, QColor ink) {
        const QRectF box(r.center().x() - 12, r.center().y() - 9, 24, 18);
        p.setPen(QPen(ink, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRect(box);
        if (layout == 4) {
            p.drawLine(QPointF(box.center().x(), box.top()),
                       QPointF(box.center().x(), box.bottom()));
            p.drawLine(QPointF(box.left(), box.center().y()),
                       QPointF(box.right(), box.center().y()));
        } else if (layout == 3) {
            const double x = box.left() + box.width() * 2 / 3;
            p.drawLine(QPointF(x, box.top()), QPointF(x, box.bottom()));
            for (int i = 1; i < 3; ++i) {
                const double y = box.top() + box.height() * i / 3;
                p.drawLine(QPointF(x, y), QPointF(box.right(), y));
            }
        }
    };
}

Drawing Speaker(bool muted) {
    return [muted](QPainter& p, const QRectF& r, QColor ink) {
        const QPointF c = r.center();
        QPainterPath body;
        body.moveTo(c.x() - 9, c.y() - 4);
        body.lineTo(c.x() - 5, c.y() - 4);
        body.lineTo(c.x() + 1, c.y() - 9);
        body.lineTo(c.x() + 1, c.y() + 9);
        body.lineTo(c.x() - 5, c.y() + 4);
        body.lineTo(c.x() - 9, c.y() + 4);
        body.closeSubpath();
        p.fillPath(body, ink);
        p.setPen(QPen(muted ? QColor(220, 40, 40) : ink, 1.6));
        if (muted) {
            p.drawLine(QPointF(c.x() + 4, c.y() - 4), QPointF(c.x() + 10, c.y() + 4));
            p.drawLine(QPointF(c.x() + 4, c.y() + 4), QPointF(c.x() + 10, c.y() - 4));
        } else {
            p.drawArc(QRectF(c.x() - 3, c.y() - 6, 10, 12), -60 * 16, 120 * 16);
            p.drawArc(QRectF(c.x() - 5, c.y() - 10, 16, 20), -60 * 16, 120 * 16);
        }
    };
}

Drawing Padlock(bool closed) {
    return [closed](QPainter& p, const QRectF& r, QColor ink) {
        const QPointF c = r.center();
        p.setPen(QPen(ink, 3));
        p.setBrush(Qt::NoBrush);
        const QRectF shackle(c.x() - 7, c.y() - 15, 14, 16);
        if (closed)
            p.drawArc(shackle, 0, 180 * 16);
        else
            p.drawArc(shackle.translated(7, -3), 0, 180 * 16);
        p.setPen(QPen(ink, 3));
        if (closed) {
            p.drawLine(QPointF(shackle.left(), c.y() - 7), QPointF(shackle.left(), c.y() - 1));
        }
        p.drawLine(QPointF(shackle.right() + (closed ? 0 : 7), c.y() - 10),
                   QPointF(shackle.right() + (closed ? 0 : 7), c.y() - 1));
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawRoundedRect(QRectF(c.x() - 11, c.y() - 2, 22, 17), 3, 3);
        p.setBrush(QColor(40, 40, 40));
        p.drawEllipse(QPointF(c.x(), c.y() + 5), 2.5, 2.5);
    };
}

Drawing Glyph(char kind) {
    return [kind](QPainter& p, const QRectF& r, QColor ink) {
        p.setPen(QPen(ink, 1.4));
        const QPointF c = r.center();
        switch (kind) {
            case 'x':
                p.drawLine(QPointF(c.x() - 3, c.y() - 3), QPointF(c.x() + 3, c.y() + 3));
                p.drawLine(QPointF(c.x() - 3, c.y() + 3), QPointF(c.x() + 3, c.y() - 3));
                break;
            case '_':
                p.drawLine(QPointF(c.x() - 3, c.y() + 2), QPointF(c.x() + 3, c.y() + 2));
                break;
            default: {
                QFont font("Liberation Sans");
                font.setBold(true);
                font.setPixelSize(10);
                p.setFont(font);
                p.drawText(r, Qt::AlignCenter, "?");
            }
        }
    };
}

QImage StateImage(QSize size, QColor base, Look look, const Drawing& draw) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    const QPainterPath outline = Outline(size);
    QColor top = base.lighter(look == Look::kHover ? 160 : 130);
    QColor bottom = base.darker(look == Look::kPressed ? 170 : 120);
    if (look == Look::kPressed) std::swap(top, bottom);
    if (look == Look::kDisabled) {
        const int grey = qGray(base.rgb());
        top = QColor(grey + 40, grey + 40, grey + 40);
        bottom = QColor(grey, grey, grey);
    }
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(outline, gradient);
    // Nothing inside the outline may be pure white: white means "not the button".
    p.setClipPath(outline);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(base.darker(200), 1));
    p.drawPath(outline);
    QColor ink = look == Look::kDisabled ? QColor(150, 150, 150)
                 : look == Look::kHover  ? QColor(255, 250, 200)
                                         : QColor(250, 250, 250);
    const QRectF area =
        QRectF(QPointF(0, 0), size)
            .translated(look == Look::kPressed ? 1 : 0, look == Look::kPressed ? 1 : 0);
    draw(p, area, ink);
    p.end();
    // The shape decides, pixel for pixel: white outside it, never pure white inside it.
    const QImage shape = ShapeImage(size);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool inside = shape.pixel(x, y) != qRgb(255, 255, 255);
            if (!inside)
                image.setPixel(x, y, qRgb(255, 255, 255));
            else if (image.pixel(x, y) == qRgb(255, 255, 255))
                image.setPixel(x, y, qRgb(254, 254, 254));
        }
    }
    return image;
}

struct Button {
    int shapeId;
    QSize size;
    int hoverId;
    int normalId;
    int pressedId;   // may equal hoverId: then the pressed look is drawn under that id
    int disabledId;  // 0: none
    QColor base;
    Drawing draw;
};

}  // namespace

std::map<int, QImage> ButtonImages() {
    const QColor blue(40, 90, 150), teal(30, 120, 120), red(170, 40, 40), slate(70, 80, 100),
        green(40, 130, 60);
    const std::vector<Button> buttons = {
        {224, {28, 28}, 223, 221, 220, 0, blue, Label("1")},
        {224, {28, 28}, 226, 227, 228, 0, blue, Label("2")},
        {224, {28, 28}, 230, 231, 232, 0, blue, Label("3")},
        {224, {28, 28}, 234, 235, 236, 0, blue, Label("4")},
        {239, {86, 44}, 237, 238, 237, 0, teal, Label("Search")},
        {239, {86, 44}, 241, 240, 240, 0, red, Label("Alarm")},
        {246, {50, 24}, 242, 243, 242, 0, green, Label("ON")},
        {246, {50, 24}, 244, 245, 244, 0, slate, Label("OFF")},
        {247, {46, 35}, 248, 249, 249, 0, slate, LayoutIcon(4)},
        {247, {46, 35}, 250, 251, 251, 0, slate, LayoutIcon(3)},
        {247, {46, 35}, 252, 253, 253, 0, slate, LayoutIcon(1)},
        {266, {14, 13}, 265, 264, 265, 0, slate, Glyph('?')},
        {266, {14, 13}, 263, 262, 263, 0, slate, Glyph('_')},
        {266, {14, 13}, 261, 260, 261, 0, red, Glyph('x')},
        {267, {133, 29}, 274, 275, 274, 299, blue, Label("Channel")},
        {267, {133, 29}, 268, 269, 268, 300, blue, Label("System")},
        {267, {133, 29}, 270, 271, 270, 0, red, Label("Recorder")},
        {267, {133, 29}, 272, 273, 272, 0, blue, Label("Property")},
        {267, {133, 29}, 276, 277, 276, 0, blue, Label("Security")},
        {267, {133, 29}, 285, 286, 285, 0, blue, Label("Save Image")},
        {278, {104, 22}, 279, 280, 279, 0, teal, Label("Show Stamp")},
        {278, {104, 22}, 281, 282, 281, 0, teal, Label("Timer Snap")},
        {278, {104, 22}, 283, 284, 283, 0, teal, Label("Snap Shot")},
    };
    std::map<int, QImage> images;
    for (const Button& b : buttons) {
        images[b.shapeId] = ShapeImage(b.size);
        images[b.normalId] = StateImage(b.size, b.base, Look::kNormal, b.draw);
        images[b.hoverId] = StateImage(b.size, b.base, Look::kHover, b.draw);
        if (b.pressedId != b.hoverId && b.pressedId != b.normalId)
            images[b.pressedId] = StateImage(b.size, b.base, Look::kPressed, b.draw);
        if (b.disabledId)
            images[b.disabledId] = StateImage(b.size, b.base, Look::kDisabled, b.draw);
    }
    // Images that stand for a state rather than a look: speaker on (258) and muted (259), padlock
    // open (255) and closed (256); each button shows one as normal and the other on hover.
    images[257] = ShapeImage({31, 34});
    images[258] = StateImage({31, 34}, slate, Look::kNormal, Speaker(false));
    images[259] = StateImage({31, 34}, slate, Look::kNormal, Speaker(true));
    images[254] = ShapeImage({46, 49});
    images[255] = StateImage({46, 49}, green, Look::kNormal, Padlock(false));
    images[256] = StateImage({46, 49}, red, Look::kNormal, Padlock(true));
    return images;
}

QImage SnapIcon() {
    QImage image(22, 23, QImage::Format_RGB32);
    image.fill(QColor(30, 30, 30));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 230, 230));
    p.drawRoundedRect(QRectF(2, 7, 18, 12), 2, 2);
    p.drawRect(QRectF(7, 4, 8, 4));
    p.setBrush(QColor(200, 40, 40));
    p.drawEllipse(QPointF(11, 13), 4, 4);
    return image;
}

}  // namespace artwork
