#include "platform/media/renderers/video_pane_window.h"

VideoPaneWindow::VideoPaneWindow() : mailbox_(std::make_shared<FrameMailbox>(this)) {}

VideoPaneWindow::~VideoPaneWindow() {
    mailbox_->Detach();
}
