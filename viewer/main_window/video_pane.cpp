#include "viewer/main_window/video_pane.h"

#include <QPainter>

namespace {

QRect ToQRect(const RECT& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

bool IsEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

}  // namespace

CVideoPane::CVideoPane(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CVideoPane::~CVideoPane() {
    DetachVideo();
}

SIZE CVideoPane::ClientSize() const {
    return SIZE{width(), height()};
}

void CVideoPane::FrameReady() {
    wakeup_.Wake();
}

void CVideoPane::SetPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void CVideoPane::ClearVideo() {
    TakeFrame();
    frame_.reset();
    picture_ = QImage();
    update();
}

void CVideoPane::paintEvent(QPaintEvent* /*event*/) {
    if (std::shared_ptr<const VideoFrame> frame = TakeFrame()) {
        // A renderer given the pane again hands over the frame the pane holds already (the
        // renderer reuses no frame the pane still holds, so the same frame is the same picture);
        // only a new frame ends the picture laid over the video.
        if (frame != frame_) {
            picture_ = QImage();
            ++framesShown_;
        }
        frame_ = std::move(frame);
    }
    QPainter painter(this);
    if (!frame_ || frame_->width <= 0 || frame_->height <= 0) {
        painter.fillRect(rect(), Qt::black);
    } else {
        // The frame's pixels, without a copy; frame_ keeps them alive while painting.
        const QImage image(reinterpret_cast<const uchar*>(frame_->pixels.data()), frame_->width,
                           frame_->height, frame_->width * 4, QImage::Format_RGB32);
        const QRect whole(0, 0, frame_->width, frame_->height);
        const RECT destination = VideoDestination();
        const QRect to = IsEmpty(destination) ? rect() : ToQRect(destination);
        // Black around the video only: the video covers the rest (opaque paint event).
        if (!to.contains(rect())) painter.fillRect(rect(), Qt::black);
        if (frame_->fitted && to.size() == whole.size()) {
            // The renderer scaled the picture to the destination: painted pixel for pixel.
            painter.drawImage(to.topLeft(), image);
        } else {
            // A whole-video frame, or a fitted one from before the destination changed size.
            const RECT source = VideoSource();
            const QRect from =
                frame_->fitted || IsEmpty(source) ? whole : ToQRect(source).intersected(whole);
            if (from.isEmpty()) {
                painter.fillRect(rect(), Qt::black);
            } else {
                painter.setRenderHint(QPainter::SmoothPixmapTransform);
                painter.drawImage(to, image, from);
            }
        }
    }
    if (!picture_.isNull()) painter.drawImage(0, 0, picture_);
}
