// The grabber property page's dialog: a caption over a drop-down list of video standards, and the
// page's tab title.
#pragma once

#include "platform/ui/dialog_template.h"

namespace device_pages {

inline constexpr int IDD_GRABBER_PAGE = 200;
inline constexpr int IDC_VIDEO_STANDARD = 1000;  // drop-down list of the decoder's standards

const DialogTemplate& GrabberPageTemplate();
// "Video Decoder".
const char16_t* GrabberPageTitle();

}  // namespace device_pages
