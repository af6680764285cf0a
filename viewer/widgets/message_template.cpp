#include "viewer/widgets/message_template.h"

#include "platform/ui/dialog_codes.h"

namespace {

constexpr ControlTemplate kControls[] = {
    {IDC_MESSAGE_TEXT, ControlKind::kStatic, "Static", 7, 18, 193, 18},
    {IDOK, ControlKind::kDefPushButton, "确定", 78, 41, 50, 14, control_style::kTabStop},
};

constexpr DialogTemplate kMessageDialog{
    .id = IDD_MESSAGE,
    .cx = 207,
    .cy = 62,
    .caption = "信息",
    .style = dialog_style::kPopup | dialog_style::kCaption | dialog_style::kSysMenu |
             dialog_style::kModalFrame | dialog_style::kCenter,
    .fontFace = "MS Shell Dlg",
    .pointSize = 8,
    .units = DialogUnits::kFontAverage,
    .controls = kControls,
};

}  // namespace

const DialogTemplate& MessageDialogTemplate() {
    return kMessageDialog;
}
