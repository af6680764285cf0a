#include "viewer/settings/channel_setting_dialog.h"

#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "platform/ui/prompts.h"
#include "viewer/settings/channel_title.h"
#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"

namespace {

using enum ControlKind;
using namespace control_style;

const ControlTemplate kControls[] = {
    {IDC_STATIC, kGroupBox, "通道设置", 7, 5, 226, 197},
    {IDC_STATIC, kStatic, "通道描述", 16, 18, 80, 10},
    {IDC_STATIC, kStatic, "通道1", 26, 34, 30, 10},
    {IDC_CHN_NAME1, kEdit, nullptr, 60, 32, 150, 13, kBorder | kAutoHScroll | kTabStop},
    {IDC_STATIC, kStatic, "通道2", 26, 52, 30, 10},
    {IDC_CHN_NAME2, kEdit, nullptr, 60, 50, 150, 13, kBorder | kAutoHScroll | kTabStop},
    {IDC_STATIC, kStatic, "通道3", 26, 70, 30, 10},
    {IDC_CHN_NAME3, kEdit, nullptr, 60, 68, 150, 13, kBorder | kAutoHScroll | kTabStop},
    {IDC_STATIC, kStatic, "通道4", 26, 88, 30, 10},
    {IDC_CHN_NAME4, kEdit, nullptr, 60, 86, 150, 13, kBorder | kAutoHScroll | kTabStop},
    {IDC_STATIC, kStatic, "通道控制", 16, 108, 80, 10},
    {IDC_CHN_MANUAL, kAutoRadioButton, "手动", 26, 123, 50, 10, kGroup | kTabStop},
    {IDC_CHN_AUTO, kAutoRadioButton, "自动", 86, 123, 50, 10},
    {IDC_STATIC, kStatic, "有效通道:", 26, 140, 50, 10},
    {IDC_CHN_ENABLE1, kAutoCheckBox, "通道1", 80, 140, 50, 10, kGroup | kTabStop},
    {IDC_CHN_ENABLE2, kAutoCheckBox, "通道2", 140, 140, 50, 10, kTabStop},
    {IDC_CHN_ENABLE3, kAutoCheckBox, "通道3", 80, 154, 50, 10, kTabStop},
    {IDC_CHN_ENABLE4, kAutoCheckBox, "通道4", 140, 154, 50, 10, kTabStop},
    {IDC_STATIC, kStatic, "切换时间:", 26, 171, 50, 10},
    {IDC_CHN_TURN_SPAN, kEdit, nullptr, 80, 169, 36, 13,
     kBorder | kNumber | kAutoHScroll | kTabStop},
    {IDC_STATIC, kStatic, "秒", 120, 171, 14, 10},
    {IDC_STATIC, kStatic, "快速切换:", 26, 187, 50, 10},
    {IDC_CHN_FAST_TURNING, kAutoCheckBox, "启动", 80, 187, 50, 10, kTabStop},
    {IDC_STATIC, kStatic, "通道信号重置", 16, 212, 60, 10},
    {IDC_CHN_RESET, kPushButton, "重置", 80, 210, 50, 14, kTabStop},
    {IDOK, kDefPushButton, "确定", 176, 210, 50, 14, kTabStop},
};

const DialogTemplate kDialog = {
    IDD_CHANNEL_SETTING,
    240,
    232,
    "Channel Setting",
    dialog_style::kPopup | dialog_style::kCaption | dialog_style::kSysMenu |
        dialog_style::kModalFrame | dialog_style::kCenter,
    "Microsoft Sans Serif",
    10,
    DialogUnits::kFontAverage,
    kControls,
};

constexpr int kTitleSettingIds[4] = {1, 2, 3, 4};  // "Channel I Name" to "Channel IV Name"
constexpr int kTypedTitleChars = 30;
constexpr int kStoredTitleChars = 254;
constexpr int kTurnSpanChars = 3;
constexpr UINT kMinTurnSpan = 1;
constexpr UINT kMaxTurnSpan = 255;
constexpr DWORD kAutomaticControl = 2;

}  // namespace

const DialogTemplate& ChannelSettingDialogTemplate() {
    return kDialog;
}

CChannelSettingDlg::CChannelSettingDlg(IPrompts& prompts, ResetSearch resetSearch, QWidget* parent)
    : CDialog(kDialog, parent), prompts_(prompts), resetSearch_(std::move(resetSearch)) {}

void CChannelSettingDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The typing limits hold whatever the key holds; a stored title may be longer and is shown
    // whole.
    for (const int id : kChannelNameIds) LimitDlgItemText(this, id, kTypedTitleChars);
    LimitDlgItemText(this, IDC_CHN_TURN_SPAN, kTurnSpanChars);

    SettingsKeyHolder* holder = OpenSettingsKey();
    if (!holder) return;
    // Each value fills its own control; one that cannot be read leaves only that control as the
    // template has it, so that OK does not overwrite the values after it with blanks.
    for (int k = 0; k < 4; ++k) {
        WCHAR title[kChannelTitleReadUnits] = {};
        if (ReadChannelTitle(holder, k, title, kChannelTitleReadUnits))
            SetDlgItemText(this, kChannelNameIds[k], QString::fromUtf16(title));
    }
    DWORD span = 0;
    if (ReadSettingDword(holder, setting::kChannelTurnSpan, &span))
        SetDlgItemInt(this, IDC_CHN_TURN_SPAN, span, FALSE);
    for (int k = 0; k < 4; ++k) {
        DWORD enabled = 0;
        if (ReadSettingDword(holder, setting::kChannelEnable[k], &enabled))
            CheckDlgButton(this, kChannelEnableIds[k], enabled ? BST_CHECKED : BST_UNCHECKED);
    }
    DWORD mode = setting::kManualChannelControl;
    ReadSettingDword(holder, setting::kChannelControlMode, &mode);
    const bool automatic = mode == kAutomaticControl;  // any other value is manual control
    CheckDlgButton(this, IDC_CHN_AUTO, automatic ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(this, IDC_CHN_MANUAL, automatic ? BST_UNCHECKED : BST_CHECKED);
    EnableManualControls(!automatic);
    DWORD fast = 0;
    if (ReadSettingDword(holder, setting::kFastTurning, &fast))
        CheckDlgButton(this, IDC_CHN_FAST_TURNING, fast ? BST_CHECKED : BST_UNCHECKED);
}

void CChannelSettingDlg::EnableManualControls(bool enable) {
    EnableDlgItem(this, IDC_CHN_TURN_SPAN, enable);
    for (const int id : kChannelEnableIds) EnableDlgItem(this, id, enable);
    EnableDlgItem(this, IDC_CHN_FAST_TURNING, enable);
}

void CChannelSettingDlg::OnCommand(int id, int code) {
    if (code == BN_CLICKED) {
        switch (id) {
            case IDC_CHN_MANUAL:
            case IDC_CHN_AUTO:
                if (IsDlgButtonChecked(this, id) == BST_CHECKED)
                    EnableManualControls(id == IDC_CHN_MANUAL);
                return;
            case IDC_CHN_RESET:
                if (resetSearch_) resetSearch_();
                return;
            default:
                break;
        }
    }
    CDialog::OnCommand(id, code);
}

void CChannelSettingDlg::OnOK() {
    SettingsKeyHolder* holder = OpenSettingsKey();
    if (!holder) return;
    const bool automatic = IsDlgButtonChecked(this, IDC_CHN_AUTO) == BST_CHECKED;
    BOOL hasSpan = FALSE;
    const UINT span = automatic ? 0 : GetDlgItemInt(this, IDC_CHN_TURN_SPAN, &hasSpan, FALSE);
    // An empty span keeps the stored one; a number outside 1 to 255 is refused before anything is
    // stored.
    if (hasSpan && (span < kMinTurnSpan || span > kMaxTurnSpan)) {
        prompts_.MessageBox(this, QStringLiteral("轮询时间设置值取值范围在1到255, 请重新输入!"),
                            QStringLiteral("警告"), MB_OK);
        return;
    }

    for (int k = 0; k < 4; ++k) {
        WCHAR title[kStoredTitleChars + 1] = {};
        const UINT chars = GetDlgItemText(this, kChannelNameIds[k], title, kStoredTitleChars + 1);
        if (FAILED(WriteSettingById(holder, title, kTitleSettingIds[k],
                                    static_cast<DWORD>(2 * chars))))
            return;
    }
    if (!WriteSettingDword(holder, setting::kChannelControlMode,
                           automatic ? kAutomaticControl : setting::kManualChannelControl))
        return;
    if (hasSpan && !WriteSettingDword(holder, setting::kChannelTurnSpan, span)) return;
    for (int k = 0; k < 4; ++k) {
        const bool enabled = IsDlgButtonChecked(this, kChannelEnableIds[k]) == BST_CHECKED;
        if (!WriteSettingDword(holder, setting::kChannelEnable[k], enabled ? 1 : 0)) return;
    }
    const bool fast = IsDlgButtonChecked(this, IDC_CHN_FAST_TURNING) == BST_CHECKED;
    if (!WriteSettingDword(holder, setting::kFastTurning, fast ? 1 : 0)) return;
    EndDialog(IDOK);
}
