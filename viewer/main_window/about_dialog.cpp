#include "viewer/main_window/about_dialog.h"

#include <QLabel>

#include "platform/ui/dialog_codes.h"
#include "viewer/resources/resources.h"

namespace {

using enum ControlKind;

const ControlTemplate kControls[] = {
    {IDC_ABOUT_ICON, kPicture, nullptr, 14, 14, 21, 20},
    {IDC_STATIC, kStatic, "Quadrel", 42, 14, 114, 8},
    {IDC_STATIC, kStatic, "Version V2.3", 42, 26, 114, 8},
    {IDOK, kDefPushButton, "确定", 113, 41, 50, 14, control_style::kGroup},
};

const DialogTemplate kDialog = {
    IDD_ABOUTBOX,
    170,
    62,
    "关于 Quadrel",
    dialog_style::kPopup | dialog_style::kCaption | dialog_style::kSysMenu |
        dialog_style::kModalFrame | dialog_style::kCenter,
    "MS Shell Dlg",
    8,
    DialogUnits::kFontAverage,
    kControls,
};

}  // namespace

const DialogTemplate& AboutDialogTemplate() {
    return kDialog;
}

CAboutDlg::CAboutDlg(QWidget* parent) : CDialog(kDialog, parent) {}

void CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (auto* icon = qobject_cast<QLabel*>(GetDlgItem(IDC_ABOUT_ICON)))
        icon->setPixmap(resources::ProgramIcon().pixmap(icon->size()));
}
