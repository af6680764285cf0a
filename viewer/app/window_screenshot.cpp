#include "viewer/app/window_screenshot.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include "viewer/capture/device_commands.h"
#include "viewer/main_window/quadrel_dlg.h"
#include "viewer/main_window/video_pane.h"

namespace {

constexpr int kPollMs = 200;
// Long enough for the signal search to end and the stamps to be drawn; without a capture only
// for the window to be painted.
constexpr qint64 kSettleMs = 4000;
constexpr qint64 kSettleWithoutCaptureMs = 500;
// The picture is taken by then whatever has arrived.
constexpr qint64 kLimitMs = 15000;
constexpr int kFramesWanted = 3;

}  // namespace

bool SaveWindowPicture(QWidget& window, const QString& path) {
    QImage picture = window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QRegion shape = window.mask();
    if (!shape.isEmpty()) {
        QImage cut(picture.size(), QImage::Format_ARGB32);
        cut.fill(Qt::transparent);
        QPainter painter(&cut);
        painter.setClipRegion(shape);
        painter.drawImage(0, 0, picture);
        painter.end();
        picture = cut;
    }
    return picture.save(path, "PNG");
}

CWindowScreenshot::CWindowScreenshot(CQuadrelDlg& window, QString path)
    : window_(window), path_(std::move(path)) {
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &CWindowScreenshot::Poll);
}

void CWindowScreenshot::Start() {
    clock_.start();
    poll_.start();
}

bool CWindowScreenshot::PanesHaveFrames() const {
    if (!window_.Capture().Graph()) return true;
    std::uint32_t signal = 0;
    if (FAILED(GetSignalMask(window_.Capture().Graph(), &signal))) return true;
    for (int k = 0; k < 4; ++k) {
        const CVideoPane* pane = window_.Pane(k);
        if ((signal & (1u << k)) && pane && pane->FramesShown() < kFramesWanted) return false;
    }
    return true;
}

void CWindowScreenshot::Poll() {
    const qint64 elapsed = clock_.elapsed();
    if (elapsed < (window_.Capture().Graph() ? kSettleMs : kSettleWithoutCaptureMs)) return;
    if (elapsed < kLimitMs && !PanesHaveFrames()) return;
    poll_.stop();
    saved_ = SaveWindowPicture(window_, path_);
    window_.CloseViewer();
}
