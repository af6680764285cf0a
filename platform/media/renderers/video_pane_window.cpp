#include "platform/media/renderers/video_pane_window.h"

VideoPaneWindow::VideoPaneWindow() : slot_(std::make_shared<LatestFrameSlot>(this)) {}

VideoPaneWindow::~VideoPaneWindow() {
    slot_->Detach();
}
