#include "viewer/main_window/login_dialog.h"

#include <QString>

#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "platform/ui/prompts.h"
#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"

namespace {

using enum ControlKind;
using namespace control_style;

const ControlTemplate kControls[] = {
    {IDC_STATIC, kStatic, "用户名:", 36, 21, 40, 10},
    {IDC_LOGIN_USER, kEdit, nullptr, 80, 19, 118, 13, kBorder | kAutoHScroll | kTabStop},
    {IDC_STATIC, kStatic, "密码:", 36, 42, 40, 10},
    {IDC_LOGIN_PASSWORD, kEdit, nullptr, 80, 40, 118, 13,
     kBorder | kAutoHScroll | kPassword | kTabStop},
    {IDOK, kDefPushButton, "确定", 55, 68, 50, 14, kTabStop},
    {IDCANCEL, kPushButton, "取消", 130, 68, 50, 14, kTabStop},
};

const DialogTemplate kDialog = {
    IDD_LOGIN,
    235,
    93,
    "Dialog",
    dialog_style::kPopup | dialog_style::kCaption | dialog_style::kSysMenu |
        dialog_style::kModalFrame | dialog_style::kCenter,
    "Microsoft Sans Serif",
    10,
    DialogUnits::kFontAverage,
    kControls,
};

// 512 bytes of UTF-16, terminator included.
constexpr std::size_t kStoredUnits = 256;

// The edit's text, and whether it is longer than `maxChars` (such a text can never match: the
// stored account is compared with what fits, never with a cut-off prefix of what was typed).
QString TypedText(const QWidget* dialog, int id, int maxChars, bool* tooLong) {
    const QString text = GetDlgItemText(dialog, id);
    *tooLong = text.size() > maxChars;
    return text.left(maxChars);
}

}  // namespace

const DialogTemplate& LoginDialogTemplate() {
    return kDialog;
}

CLoginDlg::CLoginDlg(IPrompts& prompts, QWidget* parent)
    : CDialog(kDialog, parent), prompts_(prompts) {}

void CLoginDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    LimitDlgItemText(this, IDC_LOGIN_USER, kMaxUserNameChars);
    LimitDlgItemText(this, IDC_LOGIN_PASSWORD, kMaxPasswordChars);
    SettingsKeyHolder* holder = OpenSettingsKey();
    if (!holder) return;
    WCHAR user[kStoredUnits];
    ReadSettingString(holder, setting::kUserName, user, kStoredUnits);  // empty when unreadable
    SetDlgItemText(this, IDC_LOGIN_USER, QString::fromUtf16(user));
}

void CLoginDlg::OnOK() {
    SettingsKeyHolder* holder = OpenSettingsKey();
    if (!holder) return;
    WCHAR storedUser[kStoredUnits];
    WCHAR storedPassword[kStoredUnits];
    if (!ReadSettingString(holder, setting::kUserName, storedUser, kStoredUnits)) return;
    if (!ReadSettingString(holder, setting::kUserPassword, storedPassword, kStoredUnits)) return;

    bool userTooLong = false;
    bool passwordTooLong = false;
    const QString user = TypedText(this, IDC_LOGIN_USER, kMaxUserNameChars, &userTooLong);
    const QString password =
        TypedText(this, IDC_LOGIN_PASSWORD, kMaxPasswordChars, &passwordTooLong);

    if (userTooLong || user != QString::fromUtf16(storedUser)) {
        prompts_.MessageBox(this, QStringLiteral("无效的用户名!"), QStringLiteral("错误"),
                            MB_OK | MB_ICONERROR);
        return;
    }
    if (passwordTooLong || password != QString::fromUtf16(storedPassword)) {
        prompts_.MessageBox(this, QStringLiteral("输入密码错误!"), QStringLiteral("错误"),
                            MB_OK | MB_ICONERROR);
        return;
    }
    EndDialog(IDOK);
}
