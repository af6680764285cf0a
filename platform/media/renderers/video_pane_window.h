// VideoPaneWindow: what a video renderer needs of the window it draws into, with no toolkit in
// sight. A pane widget derives from it, implements ClientSize and FrameReady, and in its paint
// event takes the latest frame (TakeFrame) and draws the frame's VideoSource() part into
// VideoDestination(). HWND is a pointer to this class (platform/base/window_handle.h).
#pragma once

#include <memory>

#include "platform/base/window_handle.h"
#include "platform/media/renderers/latest_frame_slot.h"

class VideoPaneWindow {
  public:
    VideoPaneWindow();
    VideoPaneWindow(const VideoPaneWindow&) = delete;
    VideoPaneWindow& operator=(const VideoPaneWindow&) = delete;

    // Size of the client area in pixels. Application thread (the renderer asks when it is given
    // the window).
    virtual SIZE ClientSize() const = 0;
    // A new frame or position is waiting. Called on a streaming thread or the application
    // thread; must return at once (post a repaint request), must not take frames, must not call
    // into the graph and must not wait for the GUI thread.
    virtual void FrameReady() = 0;

    // GUI thread: the frame published since the last call (null when nothing new). Keep it to
    // repaint; it stays valid while held.
    std::shared_ptr<const VideoFrame> TakeFrame() { return slot_->Take(); }
    RECT VideoSource() const { return slot_->GetPosition().source; }
    RECT VideoDestination() const { return slot_->GetPosition().destination; }

    // Renderer side.
    const std::shared_ptr<LatestFrameSlot>& FrameSlot() const { return slot_; }

  protected:
    // Detaches (as DetachVideo).
    virtual ~VideoPaneWindow();
    // Stops all wake-ups; returns when none is running. A derived class calls it first in its
    // destructor, before its own members go.
    void DetachVideo() { slot_->Detach(); }

  private:
    const std::shared_ptr<LatestFrameSlot> slot_;
};
