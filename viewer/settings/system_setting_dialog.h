// CSystemSettingDlg: the system setting dialog (template 288, caption "System setting"). It edits
// the recording quality, the folder recordings are saved in (chosen with the folder chooser) and
// the one user account the login checks. It keeps no state of its own and tells nobody of the
// change: the recorder and the login read the values when they need them.
//
// OK stores nothing when the password and its confirmation differ (a message says so and the
// typed values stay); otherwise it stores path, user name, password and quality in that order,
// each only after the one before it succeeded, and ends with IDOK only when all four were stored.
// Without the settings key it opens with empty fields and OK does nothing. There is no Cancel
// button; Escape and the close box end it without storing anything.
//
// GUI thread only.
#pragma once

#include "platform/ui/dialog.h"

class IPrompts;

inline constexpr int IDD_SYSTEM_SETTING = 288;
inline constexpr int IDC_SYS_QUALITY = 1080;
inline constexpr int IDC_SYS_BROWSE = 1047;
inline constexpr int IDC_SYS_USER = 1056;
inline constexpr int IDC_SYS_PASSWORD = 1057;
inline constexpr int IDC_SYS_CONFIRM = 1066;
inline constexpr int IDC_SYS_SAVE_PATH = 1062;

class CSystemSettingDlg : public CDialog {
    Q_OBJECT

  public:
    // `prompts` (message boxes and the folder dialog) outlives the dialog.
    CSystemSettingDlg(IPrompts& prompts, QWidget* parent);

    void OnCommand(int id, int code) override;

  protected:
    void OnInitDialog() override;
    void OnOK() override;

  private:
    void OnBrowse();

    // Not owned; outlives the dialog.
    IPrompts& prompts_;
};

const DialogTemplate& SystemSettingDialogTemplate();
