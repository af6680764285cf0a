// CVideoPane: one video pane of the main window (the black-frame static controls 1005 to 1008).
// It is the clipping window of a video renderer: the renderer's streaming thread publishes the
// latest frame into the pane's mailbox and wakes it; the pane takes the frame when it paints and
// draws it into the video destination: pixel for pixel when the renderer made it at the
// destination's size, scaled otherwise. A pane picture (e.g. "No Signal") can be laid
// over the video; it stays until a new frame arrives. Mouse presses pass through to the main
// window, which hit-tests the panes itself.
//
// Threads: FrameReady may be called on any thread; everything else is GUI thread only.
#pragma once

#include <QImage>
#include <QWidget>
#include <memory>

#include "platform/media/renderers/video_pane_window.h"
#include "viewer/main_window/pane_wakeup.h"

class CVideoPane final : public QWidget, public VideoPaneWindow {
    Q_OBJECT

  public:
    explicit CVideoPane(QWidget* parent);
    // Stops the renderer's wake-ups before the widget goes.
    ~CVideoPane() override;

    // VideoPaneWindow
    SIZE ClientSize() const override;
    // Wakes the GUI thread, which then requests a repaint; wake-ups before it runs are folded
    // into one.
    void FrameReady() override;

    // A picture painted over the video at the pane's top-left corner until the next frame.
    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return picture_; }
    // Forgets the frame and the picture (the pane shows black until the next frame).
    void ClearVideo();
    // Frames taken and painted since the pane was made.
    int FramesShown() const { return framesShown_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // Wake is called on any thread (FrameReady); made and destroyed on the GUI thread.
    PaneWakeup wakeup_{[this] { update(); }};
    // GUI thread only.
    std::shared_ptr<const VideoFrame> frame_;
    QImage picture_;
    int framesShown_ = 0;
};
