#include "viewer/main_window/main_dialog_template.h"

#include "viewer/main_window/main_dialog_ids.h"

namespace {

using enum ControlKind;
constexpr UINT kHidden = control_style::kHidden;

const ControlTemplate kControls[] = {
    {IDC_CHANNEL1, kPushButton, "Channel1", 409, 21, 18, 18},
    {IDC_CHANNEL2, kPushButton, "Channel2", 429, 21, 18, 18},
    {IDC_CHANNEL3, kPushButton, "Channel3", 449, 21, 18, 18},
    {IDC_CHANNEL4, kPushButton, "Channel4", 470, 21, 18, 18},
    {IDC_ON, kPushButton, "ON", 414, 50, 29, 14},
    {IDC_OFF, kPushButton, "OFF", 452, 50, 29, 14},
    {IDC_CHANNEL_SETTING, kPushButton, "Channel", 409, 89, 76, 17},
    {IDC_SYSTEM, kPushButton, "System", 409, 108, 76, 17},
    {IDC_RECORDER, kPushButton, "Recorder", 409, 127, 76, 17},
    {IDC_PROPERTY, kPushButton, "Property", 409, 146, 76, 17},
    {IDC_SECURITY, kPushButton, "Security", 409, 165, 76, 17},
    {IDC_SHOW_STAMP, kPushButton, "ShowStamp", 425, 194, 60, 13},
    {IDC_TIMER_SNAP, kPushButton, "TimerSnap", 425, 212, 60, 13},
    {IDC_SNAPSHOT, kPushButton, "SnapShot", 425, 229, 60, 13},
    {IDC_SAVE_IMAGE, kPushButton, "SaveImage", 410, 246, 76, 17},
    {IDC_STYLE1, kPushButton, "Style1", 21, 313, 27, 20},
    {IDC_STYLE2, kPushButton, "Style2", 65, 313, 27, 20},
    {IDC_STYLE3, kPushButton, "Style3", 110, 313, 27, 20},
    {IDC_SEARCH, kPushButton, "Search", 154, 310, 49, 25},
    {IDC_ALARM, kPushButton, "Alarm", 212, 310, 49, 25, kHidden},
    {IDC_VOLUME_ON, kPushButton, "VolumeOn", 421, 309, 18, 20},
    {IDC_VOLUME_OFF, kPushButton, "VolumeOff", 421, 309, 18, 20, kHidden},
    {IDC_LOCKED, kPushButton, "Locked", 453, 302, 27, 28, kHidden},
    {IDC_UNLOCK, kPushButton, "UnLock", 453, 302, 27, 28},
    {IDC_HELP, kPushButton, "Help", 471, 2, 9, 9},
    {IDC_MINIMISE, kPushButton, "Mininum", 481, 2, 9, 9},
    {IDC_CLOSE, kPushButton, "Close", 491, 2, 9, 9},
    {kPaneIds[0], kFrame, nullptr, 15, 11, 180, 136},
    {kPaneIds[3], kFrame, nullptr, 199, 11, 180, 136},
    {kPaneIds[1], kFrame, nullptr, 15, 149, 180, 136},
    {kPaneIds[2], kFrame, nullptr, 199, 149, 180, 136},
};

const DialogTemplate kDialog = {
    IDD_QUADREL_DIALOG,
    504,
    347,
    "Quadrel",
    dialog_style::kPopup | dialog_style::kVisible,
    "MS Shell Dlg",
    9,
    DialogUnits::kSevenFourths,
    kControls,
};

}  // namespace

const DialogTemplate& MainDialogTemplate() {
    return kDialog;
}
