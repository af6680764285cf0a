#include "viewer/settings/system_setting_dialog.h"

#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "platform/ui/dialog_lists.h"
#include "platform/ui/prompts.h"
#include "platform/ui/ui_text.h"
#include "viewer/settings/folder_chooser.h"
#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"

namespace {

using enum ControlKind;
using namespace control_style;

const ControlTemplate kControls[] = {
    {IDC_SYS_QUALITY, kDropDownList, nullptr, 121, 25, 48, 30, kVScroll | kTabStop},
    {IDC_SYS_BROWSE, kPushButton, "浏览", 163, 54, 50, 12, kTabStop},
    {IDC_SYS_USER, kEdit, nullptr, 112, 105, 101, 13, kBorder | kAutoHScroll | kTabStop},
    {IDC_SYS_PASSWORD, kEdit, nullptr, 112, 125, 101, 13,
     kBorder | kPassword | kAutoHScroll | kTabStop},
    {IDC_SYS_CONFIRM, kEdit, nullptr, 112, 144, 101, 13,
     kBorder | kPassword | kAutoHScroll | kTabStop},
    {IDOK, kDefPushButton, "确定", 167, 173, 47, 13, kTabStop},
    {IDC_STATIC, kStatic, "视频画质设置:", 22, 27, 89, 8},
    {IDC_SYS_SAVE_PATH, kEdit, nullptr, 23, 55, 122, 12, kBorder | kReadOnly | kAutoHScroll},
    {IDC_STATIC, kGroupBox, "录制设置", 14, 14, 209, 65, kCenter},
    {IDC_STATIC, kStatic, "保存路径设置:", 22, 41, 91, 8},
    {IDC_STATIC, kGroupBox, "用户设置", 15, 90, 208, 76, kCenter},
    {IDC_STATIC, kStatic, "用户名:", 59, 107, 36, 8},
    {IDC_STATIC, kStatic, "密码:", 59, 128, 36, 8},
    {IDC_STATIC, kStatic, "确认密码:", 59, 147, 36, 8},
};

const DialogTemplate kDialog = {
    IDD_SYSTEM_SETTING,
    237,
    202,
    "System setting",
    dialog_style::kPopup | dialog_style::kCaption | dialog_style::kSysMenu |
        dialog_style::kModalFrame | dialog_style::kCenter,
    "MS Shell Dlg",
    8,
    DialogUnits::kFontAverage,
    kControls,
};

constexpr std::size_t kPathUnits = 260;
constexpr int kStoredPathChars = 259;
constexpr std::size_t kUserUnits = 256;
constexpr int kStoredUserChars = 255;
constexpr int kPasswordChars = 127;
constexpr int kQualityItems = 3;  // "高", "中", "低": "Save Resolution" 0, 1, 2

}  // namespace

const DialogTemplate& SystemSettingDialogTemplate() {
    return kDialog;
}

CSystemSettingDlg::CSystemSettingDlg(IPrompts& prompts, QWidget* parent)
    : CDialog(kDialog, parent), prompts_(prompts) {}

void CSystemSettingDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // Typing stops where OK would cut the text.
    LimitDlgItemText(this, IDC_SYS_USER, kStoredUserChars);
    LimitDlgItemText(this, IDC_SYS_PASSWORD, kPasswordChars);
    LimitDlgItemText(this, IDC_SYS_CONFIRM, kPasswordChars);

    SettingsKeyHolder* holder = OpenSettingsKey();
    if (!holder) return;
    // Each value fills its own control: a path that cannot be read must not leave the user name
    // empty, or OK would store an empty account.
    WCHAR path[kPathUnits] = {};
    if (ReadSettingString(holder, setting::kSaveFilePath, path, kPathUnits))
        SetDlgItemText(this, IDC_SYS_SAVE_PATH, QString::fromUtf16(path));
    WCHAR user[kUserUnits] = {};
    if (ReadSettingString(holder, setting::kUserName, user, kUserUnits))
        SetDlgItemText(this, IDC_SYS_USER, QString::fromUtf16(user));
    DWORD quality = 0;
    if (!ReadSettingDword(holder, setting::kSaveResolution, &quality)) quality = 0;
    QWidget* list = GetDlgItem(IDC_SYS_QUALITY);
    const QByteArray context = ui_text::DialogContext(Template());
    for (const char* item : {"高", "中", "低"})
        ComboBoxAddString(list, ui_text::Translate(context.constData(), item));
    ComboBoxSetCurSel(list, quality == 1 || quality == 2 ? static_cast<int>(quality) : 0);
}

void CSystemSettingDlg::OnCommand(int id, int code) {
    if (id == IDC_SYS_BROWSE) {
        if (code == BN_CLICKED) OnBrowse();
        return;
    }
    CDialog::OnCommand(id, code);
}

void CSystemSettingDlg::OnBrowse() {
    if (!OpenSettingsKey()) return;
    const std::optional<QString> folder =
        ChooseSaveFolder(prompts_, this, GetDlgItemText(this, IDC_SYS_SAVE_PATH));
    // A folder whose path with its "/" would not fit the stored 259 characters is not taken: cut,
    // it would name another folder.
    if (!folder || folder->size() > kStoredPathChars) return;
    SetDlgItemText(this, IDC_SYS_SAVE_PATH, *folder);
}

void CSystemSettingDlg::OnOK() {
    const QString password = GetDlgItemText(this, IDC_SYS_PASSWORD).left(kPasswordChars);
    const QString confirmation = GetDlgItemText(this, IDC_SYS_CONFIRM).left(kPasswordChars);
    if (password != confirmation) {
        prompts_.MessageBox(this, QStringLiteral("两次输入的密码不相同!"), QStringLiteral("错误"),
                            MB_OK);
        return;
    }
    SettingsKeyHolder* holder = OpenSettingsKey();
    if (!holder) return;
    const QString path = GetDlgItemText(this, IDC_SYS_SAVE_PATH).left(kStoredPathChars);
    if (!WriteSettingString(holder, setting::kSaveFilePath,
                            reinterpret_cast<LPCWSTR>(path.utf16())))
        return;
    const QString user = GetDlgItemText(this, IDC_SYS_USER).left(kStoredUserChars);
    if (!WriteSettingString(holder, setting::kUserName, reinterpret_cast<LPCWSTR>(user.utf16())))
        return;
    if (!WriteSettingString(holder, setting::kUserPassword,
                            reinterpret_cast<LPCWSTR>(password.utf16())))
        return;
    const int selected = ComboBoxGetCurSel(GetDlgItem(IDC_SYS_QUALITY));
    const DWORD quality = selected >= 0 && selected < kQualityItems ? DWORD(selected) : 0;
    // The quality is checked like the rest: a dialog that ends with OK has stored everything.
    if (!WriteSettingDword(holder, setting::kSaveResolution, quality)) return;
    EndDialog(IDOK);
}
