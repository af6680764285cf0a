#include "viewer/widgets/control_button.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "viewer/widgets/bitmap_resource.h"
#include "viewer/widgets/bitmap_to_region.h"

namespace {

constexpr int kHoverTimeMs = 1;

enum class RasterOp {
    kCopy,        // destination = source
    kMergePaint,  // destination = NOT source OR destination
    kAnd,         // destination = source AND destination
};

// Combines the part of `source` that starts at `origin` into `target` at (0, 0), over the
// target's size, pixel by pixel on the colour bits. Parts outside the source stay as they are.
void Blit(QImage& target, const QImage& source, QPoint origin, RasterOp op) {
    if (source.isNull()) return;
    const QImage src =
        source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
            ? source
            : source.convertToFormat(QImage::Format_RGB32);
    const int width = std::min(target.width(), src.width() - origin.x());
    const int height = std::min(target.height(), src.height() - origin.y());
    const int x0 = std::max(0, -origin.x());
    const int y0 = std::max(0, -origin.y());
    for (int y = y0; y < height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(target.scanLine(y));
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y + origin.y()));
        for (int x = x0; x < width; ++x) {
            const QRgb s = in[x + origin.x()] & 0x00FFFFFFu;
            const QRgb d = out[x] & 0x00FFFFFFu;
            QRgb result = s;
            if (op == RasterOp::kMergePaint) result = (~s | d) & 0x00FFFFFFu;
            if (op == RasterOp::kAnd) result = s & d;
            out[x] = 0xFF000000u | result;
        }
    }
}

}  // namespace

CControlButton::CControlButton(QWidget* parent)
    : QAbstractButton(parent), hoverTimer_(new QTimer(this)) {
    hoverTimer_->setObjectName(QStringLiteral("hoverTimer"));
    hoverTimer_->setSingleShot(true);
    hoverTimer_->setInterval(kHoverTimeMs);
    connect(hoverTimer_, &QTimer::timeout, this, &CControlButton::OnMouseHover);
    setMouseTracking(true);
}

CControlButton::~CControlButton() = default;

void CControlButton::SetShape(UINT bitmapId) {
    m_bShaped = 1;
    SetShape(LoadBitmapResource(bitmapId));
}

void CControlButton::SetShape(const QImage& shape) {
    m_bShaped = 1;
    const std::optional<QRegion> region = BitmapToRegion(shape, kButtonShapeKey);
    if (region && m_bShaped) {
        setMask(*region);
        update();
    }
}

void CControlButton::LoadStateBitmaps(UINT hoverId, UINT normalId, UINT pressedId, UINT spareId) {
    LoadStateBitmaps(LoadBitmapResource(hoverId), LoadBitmapResource(normalId),
                     LoadBitmapResource(pressedId), LoadBitmapResource(spareId));
}

void CControlButton::LoadStateBitmaps(const QImage& hover, const QImage& normal,
                                      const QImage& pressed, const QImage& spare) {
    m_bmpNormal = normal;
    m_bmpPressed = pressed;
    m_bmpSpare = spare;
    m_bmpHover = hover;
    update();
}

void CControlButton::DrawItem(QImage& target) const {
    const bool disabledImage = !isEnabled() && !m_bmpDisabled.isNull();
    const QImage& image = disabledImage ? m_bmpDisabled
                          : m_bHover    ? m_bmpHover
                          : m_bLatched  ? m_bmpPressed
                                        : m_bmpNormal;
    DrawImage(target, image);
    if (isDown() && !disabledImage) DrawImage(target, m_bmpPressed);
}

void CControlButton::DrawImage(QImage& target, const QImage& image) const {
    if (m_bTransparent != 1) {
        Blit(target, image, {0, 0}, RasterOp::kCopy);
        return;
    }
    if (m_bHasBackground == 1) {
        const QImage& background = m_pBackground ? *m_pBackground : m_bmpBack;
        Blit(target, background, {m_rcInParent.left, m_rcInParent.top}, RasterOp::kCopy);
    }
    Blit(target, m_bmpMask, {0, 0}, RasterOp::kMergePaint);
    Blit(target, image, {0, 0}, RasterOp::kAnd);
}

void CControlButton::OnMouseHover() {
    m_bHover = 1;
    update();
}

void CControlButton::OnMouseLeave() {
    hoverTimer_->stop();
    m_bHover = 0;
    m_bTracking = 0;
    update();
}

void CControlButton::paintEvent(QPaintEvent* /*event*/) {
    QImage frame(size(), QImage::Format_RGB32);
    frame.fill(palette().color(QPalette::Button));
    DrawItem(frame);
    QPainter painter(this);
    painter.drawImage(0, 0, frame);
}

void CControlButton::mouseMoveEvent(QMouseEvent* event) {
    if (!m_bTracking) m_bTracking = 1;
    // Hover comes once the mouse has rested for the hover time; each move restarts the wait.
    if (!m_bHover) hoverTimer_->start();
    QAbstractButton::mouseMoveEvent(event);
}

void CControlButton::leaveEvent(QEvent* event) {
    OnMouseLeave();
    QAbstractButton::leaveEvent(event);
}
