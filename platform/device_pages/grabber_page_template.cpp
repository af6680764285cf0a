#include "platform/device_pages/grabber_page_template.h"

#include "platform/ui/dialog_codes.h"

namespace device_pages {
namespace {

using namespace control_style;

constexpr ControlTemplate kControls[] = {
    {IDC_STATIC, ControlKind::kGroupBox, "Analog Video", 7, 7, 186, 48},
    {IDC_STATIC, ControlKind::kStatic, "Video Standard:", 16, 28, 56, 8},
    {IDC_VIDEO_STANDARD, ControlKind::kDropDownList, nullptr, 78, 25, 104, 120,
     kVScroll | kTabStop},
};

constexpr DialogTemplate kPage = PropertyPageTemplate(IDD_GRABBER_PAGE, 200, 64, kControls);

}  // namespace

const DialogTemplate& GrabberPageTemplate() {
    return kPage;
}

const char16_t* GrabberPageTitle() {
    return u"Video Decoder";
}

}  // namespace device_pages
