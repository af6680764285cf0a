#include "viewer/settings/snap_schedule_dialog.h"

#include <QDateEdit>

#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "platform/ui/prompts.h"
#include "viewer/settings/folder_chooser.h"
#include "viewer/settings/schedule_date.h"
#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"

namespace {

using enum ControlKind;
using namespace control_style;

const ControlTemplate kControls[] = {
    {IDC_STATIC, kGroupBox, "定时抓拍设置", 7, 5, 226, 82},
    {IDC_STATIC, kStatic, "从", 16, 21, 12, 10},
    {IDC_SNAP_START, kDatePicker, nullptr, 30, 19, 80, 14, kTabStop},
    {IDC_STATIC, kStatic, "到", 120, 21, 12, 10},
    {IDC_SNAP_END, kDatePicker, nullptr, 134, 19, 80, 14, kTabStop},
    {IDC_STATIC, kStatic, "抓拍间隔:", 16, 43, 44, 10},
    {IDC_SNAP_SPAN, kEdit, nullptr, 62, 41, 60, 13, kBorder | kNumber | kAutoHScroll | kTabStop},
    {IDC_STATIC, kStatic, "秒", 126, 43, 12, 10},
    {IDC_STATIC, kStatic, "抓拍模式:", 16, 65, 44, 10},
    {IDC_SNAP_DAILY, kAutoRadioButton, "单张 每天", 62, 64, 60, 10, kGroup | kTabStop},
    {IDC_SNAP_CONTINUOUS, kAutoRadioButton, "连续", 130, 64, 50, 10},
    {IDC_STATIC, kGroupBox, "图片保存设置", 7, 92, 226, 56},
    {IDC_SNAP_FROM_RECORDING, kAutoRadioButton, "同录制保存路径", 16, 106, 90, 10,
     kGroup | kTabStop},
    {IDC_SNAP_FROM_CUSTOM, kAutoRadioButton, "自定义路径设置", 120, 106, 90, 10},
    {IDC_SNAP_PATH, kEdit, nullptr, 16, 124, 160, 13, kBorder | kReadOnly | kAutoHScroll},
    {IDC_SNAP_BROWSE, kPushButton, "浏览", 182, 123, 42, 14, kTabStop},
    {IDOK, kDefPushButton, "确定", 95, 156, 50, 14, kTabStop},
};

const DialogTemplate kDialog = {
    IDD_SNAP_SCHEDULE,
    240,
    178,
    "Setting",
    dialog_style::kPopup | dialog_style::kCaption | dialog_style::kSysMenu |
        dialog_style::kModalFrame | dialog_style::kCenter,
    "Microsoft Sans Serif",
    10,
    DialogUnits::kFontAverage,
    kControls,
};

constexpr std::size_t kPathUnits = 260;  // "Snap save path": at most 520 bytes
constexpr int kStoredPathChars = 258;
constexpr std::size_t kDateUnits = 32;
constexpr DWORD kFromRecording = 1;
constexpr DWORD kFromCustom = 2;
constexpr DWORD kContinuous = 1;
constexpr DWORD kDaily = 2;
const QString kError = QStringLiteral("错误");

QDateEdit* DatePicker(const QWidget* dialog, int id) {
    return qobject_cast<QDateEdit*>(GetDlgItem(dialog, id));
}

QDate ToQDate(const ScheduleDate& date) {
    return QDate(date.year, date.month, date.day);
}

ScheduleDate FromQDate(const QDate& date) {
    return ScheduleDate{date.year(), date.month(), date.day()};
}

// Fills a date picker from the stored date `name`: today is the earliest day it offers, and a
// stored date before today (or none) shows today.
void InitDatePicker(QWidget* dialog, int id, SettingsKeyHolder* holder, LPCWSTR name,
                    const ScheduleDate& today) {
    QDateEdit* picker = DatePicker(dialog, id);
    if (!picker) return;
    WCHAR text[kDateUnits] = {};
    ReadSettingString(holder, name, text, kDateUnits);
    const ScheduleDate stored = ParseScheduleDate(text);
    const QDate first = ToQDate(today);
    picker->setMinimumDate(first);
    const QDate shown = ToQDate(stored);
    picker->setDate(DateBefore(stored, today) || !shown.isValid() ? first : shown);
}

}  // namespace

const DialogTemplate& SnapScheduleDialogTemplate() {
    return kDialog;
}

CSnapScheduleDlg::CSnapScheduleDlg(IPrompts& prompts, LocalClock localNow, QWidget* parent)
    : CDialog(kDialog, parent), prompts_(prompts), localNow_(std::move(localNow)) {}

void CSnapScheduleDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SettingsKeyHolder* holder = OpenSettingsKey();
    if (!holder) return;
    DWORD from = kFromRecording;
    ReadSettingDword(holder, setting::kSnapSavePathFrom, &from);
    WCHAR path[kPathUnits] = {};
    ReadSettingString(holder, setting::kSnapSavePath, path, kPathUnits);
    SetDlgItemText(this, IDC_SNAP_PATH, QString::fromUtf16(path));
    const bool fromRecording = from == kFromRecording;
    CheckDlgButton(this, IDC_SNAP_FROM_RECORDING, fromRecording ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(this, IDC_SNAP_FROM_CUSTOM, fromRecording ? BST_UNCHECKED : BST_CHECKED);
    EnableDlgItem(this, IDC_SNAP_BROWSE, !fromRecording);

    const ScheduleDate today = DateOf(localNow_());
    InitDatePicker(this, IDC_SNAP_START, holder, setting::kScheduleSnapStart, today);
    InitDatePicker(this, IDC_SNAP_END, holder, setting::kScheduleSnapEnd, today);

    DWORD span = 0;
    ReadSettingDword(holder, setting::kScheduleSnapSpan, &span);
    SetDlgItemInt(this, IDC_SNAP_SPAN, span, FALSE);
    DWORD mode = kContinuous;
    ReadSettingDword(holder, setting::kScheduleSnapMode, &mode);
    CheckDlgButton(this, IDC_SNAP_DAILY, mode != kContinuous ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(this, IDC_SNAP_CONTINUOUS, mode == kContinuous ? BST_CHECKED : BST_UNCHECKED);
}

void CSnapScheduleDlg::OnCommand(int id, int code) {
    if (code == BN_CLICKED) {
        switch (id) {
            case IDC_SNAP_FROM_RECORDING:
                if (IsDlgButtonChecked(this, id) == BST_CHECKED)
                    EnableDlgItem(this, IDC_SNAP_BROWSE, false);
                return;
            case IDC_SNAP_FROM_CUSTOM:
                if (IsDlgButtonChecked(this, id) == BST_CHECKED)
                    EnableDlgItem(this, IDC_SNAP_BROWSE, true);
                return;
            case IDC_SNAP_BROWSE:
                OnBrowse();
                return;
            default:
                break;
        }
    }
    CDialog::OnCommand(id, code);
}

void CSnapScheduleDlg::OnBrowse() {
    if (!OpenSettingsKey()) return;
    if (const std::optional<QString> folder =
            ChooseSaveFolder(prompts_, this, GetDlgItemText(this, IDC_SNAP_PATH)))
        SetDlgItemText(this, IDC_SNAP_PATH, *folder);
}

void CSnapScheduleDlg::OnOK() {
    SettingsKeyHolder* holder = OpenSettingsKey();
    if (!holder) return;
    const DWORD from = IsDlgButtonChecked(this, IDC_SNAP_FROM_RECORDING) == BST_CHECKED
                           ? kFromRecording
                           : kFromCustom;
    if (!WriteSettingDword(holder, setting::kSnapSavePathFrom, from)) return;
    if (from == kFromCustom) {
        const QString path = GetDlgItemText(this, IDC_SNAP_PATH).left(kStoredPathChars);
        if (!WriteSettingString(holder, setting::kSnapSavePath,
                                reinterpret_cast<LPCWSTR>(path.utf16())))
            return;
    }

    const ScheduleDate today = DateOf(localNow_());
    const QDateEdit* startPicker = DatePicker(this, IDC_SNAP_START);
    const QDateEdit* endPicker = DatePicker(this, IDC_SNAP_END);
    if (!startPicker || !endPicker) return;
    const ScheduleDate start = FromQDate(startPicker->date());
    if (DateBefore(start, today)) {
        prompts_.MessageBox(this, QStringLiteral("开始抓拍时间早于当前时间!"), kError, MB_OK);
        return;
    }
    if (!WriteSettingString(holder, setting::kScheduleSnapStart, FormatScheduleDate(start).c_str()))
        return;
    const ScheduleDate end = FromQDate(endPicker->date());
    if (DateBefore(end, today) || DateBefore(end, start)) {
        prompts_.MessageBox(this, QStringLiteral("抓拍结束时间早于开始时间或者当前时间!"), kError,
                            MB_OK);
        return;
    }
    if (!WriteSettingString(holder, setting::kScheduleSnapEnd, FormatScheduleDate(end).c_str()))
        return;

    BOOL translated = FALSE;
    const UINT span = GetDlgItemInt(this, IDC_SNAP_SPAN, &translated, FALSE);
    if (translated && !WriteSettingDword(holder, setting::kScheduleSnapSpan, span)) return;
    const DWORD mode =
        IsDlgButtonChecked(this, IDC_SNAP_DAILY) == BST_CHECKED ? kDaily : kContinuous;
    WriteSettingDword(holder, setting::kScheduleSnapMode, mode);  // a failure here is ignored
    EndDialog(IDOK);
}
