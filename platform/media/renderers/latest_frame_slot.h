// LatestFrameSlot: the one-slot hand-over of frames from a video renderer to the pane that shows
// them. The renderer's streaming thread stores the latest frame under a short lock and wakes the
// pane; the pane takes the frame on its own (GUI) thread when it paints. A frame not yet taken
// is replaced by a newer one. Shared (std::shared_ptr) by the pane and the renderers attached
// to it, so either may go first.
#pragma once

#include <memory>
#include <mutex>

#include "platform/media/renderers/video_frame.h"

class VideoPaneWindow;

class LatestFrameSlot {
  public:
    // Where the pane shows the video: a part of the frame (video pixels) and a rectangle of the
    // pane's client area.
    struct Position {
        RECT source{0, 0, 0, 0};
        RECT destination{0, 0, 0, 0};
    };

    explicit LatestFrameSlot(VideoPaneWindow* window) : window_(window) {}

    // Renderer, any thread: stores the frame and wakes the pane. Never waits for the GUI.
    void Publish(std::shared_ptr<const VideoFrame> frame);
    // Renderer, application thread: a new position; wakes the pane.
    void SetPosition(const Position& position);
    // Renderer: wakes the pane so that it paints again.
    void Repaint();

    // Pane, GUI thread: the frame published since the last Take, or null.
    std::shared_ptr<const VideoFrame> Take();
    Position GetPosition() const;
    // Pane: no more wake-ups; returns when a wake-up in progress has finished.
    void Detach();

  private:
    void Wake();

    mutable std::mutex slotMutex_;  // guards latest_ and position_ (held briefly)
    std::shared_ptr<const VideoFrame> latest_;
    Position position_;
    std::mutex windowMutex_;   // guards window_; held during FrameReady
    VideoPaneWindow* window_;  // the pane, or null once it detached
};
