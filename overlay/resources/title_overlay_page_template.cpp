#include "overlay/resources/title_overlay_page_template.h"

#include "platform/ui/dialog_codes.h"

namespace {

using namespace control_style;

constexpr UINT kEditStyle = kBorder | kTabStop | kAutoHScroll;

constexpr ControlTemplate kControls[] = {
    {IDC_OVERLAY_TYPE, ControlKind::kDropDownList, nullptr, 16, 19, 88, 72, kVScroll | kTabStop},
    {IDC_BY_COVER, ControlKind::kAutoRadioButton, "By Cover", 122, 22, 46, 10, kGroup | kTabStop},
    {IDC_BY_REVERSE, ControlKind::kAutoRadioButton, "By Reverse", 169, 22, 52, 10},
    {IDC_STATIC, ControlKind::kGroupBox, "Overlay Type", 12, 8, 218, 31},
    {IDC_STATIC, ControlKind::kGroupBox, "Title Properties", 12, 41, 218, 95},
    {IDC_TITLE, ControlKind::kEdit, nullptr, 38, 55, 179, 14, kEditStyle},
    {IDC_STATIC, ControlKind::kStatic, "Title:", 14, 58, 17, 8},
    {IDC_STATIC, ControlKind::kStatic, "Start Position:", 14, 76, 44, 8},
    {IDC_START_X, ControlKind::kEdit, nullptr, 82, 72, 46, 12, kEditStyle},
    {IDC_STATIC, ControlKind::kStatic, "Y", 159, 76, 8, 8},
    {IDC_START_Y, ControlKind::kEdit, nullptr, 171, 72, 46, 12, kEditStyle},
    {IDC_STATIC, ControlKind::kStatic, "X", 71, 76, 8, 8},
    {IDC_STATIC, ControlKind::kStatic, "Text Color:", 20, 103, 35, 8},
    {IDC_RED, ControlKind::kEdit, nullptr, 82, 100, 27, 12, kEditStyle},
    {IDC_STATIC, ControlKind::kStatic, "G", 125, 103, 8, 8},
    {IDC_GREEN, ControlKind::kEdit, nullptr, 136, 101, 27, 12, kEditStyle},
    {IDC_STATIC, ControlKind::kStatic, "R", 70, 103, 8, 8},
    {IDC_STATIC, ControlKind::kStatic, "B", 178, 103, 8, 8},
    {IDC_BLUE, ControlKind::kEdit, nullptr, 190, 101, 27, 12, kEditStyle},
    {IDC_CHANGE_FONT, ControlKind::kPushButton, "Change Font...", 153, 117, 64, 14, kTabStop},
    {IDC_STATIC, ControlKind::kStatic, "Title Duration:", 14, 89, 45, 8},
    {IDC_DURATION_START, ControlKind::kEdit, nullptr, 82, 86, 46, 12, kEditStyle},
    {IDC_STATIC, ControlKind::kStatic, "------>", 142, 88, 20, 8},
    {IDC_DURATION_END, ControlKind::kEdit, nullptr, 171, 86, 46, 12, kEditStyle},
};

constexpr DialogTemplate kPage = PropertyPageTemplate(IDD_TITLE_OVERLAY_PAGE, 235, 146, kControls);

}  // namespace

const DialogTemplate& TitleOverlayPageTemplate() {
    return kPage;
}

const char16_t* TitleOverlayPageTitle() {
    return u"Title Overlay";
}
