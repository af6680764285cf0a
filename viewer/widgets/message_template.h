// Dialog 298, the information pop-up: caption "信息", a text line (1079) and the button "确定".
#pragma once

#include "platform/ui/dialog_template.h"

inline constexpr int IDD_MESSAGE = 298;
inline constexpr int IDC_MESSAGE_TEXT = 1079;

const DialogTemplate& MessageDialogTemplate();
