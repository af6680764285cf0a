// CLoginDlg: the login dialog (template 291). It fills in the stored user name, and on OK checks
// the typed user name and password against the account in the settings ("User Mode I" and
// "User Mode II"), exactly and case-sensitively. A wrong name or password is reported in a
// message box and the dialog stays open for another try; it ends with IDOK only on a match and
// with IDCANCEL on Cancel. When the settings key or an account value cannot be read, OK does
// nothing. GUI thread only.
#pragma once

#include "platform/ui/dialog.h"

class IPrompts;

inline constexpr int IDD_LOGIN = 291;
inline constexpr int IDC_LOGIN_USER = 1077;
inline constexpr int IDC_LOGIN_PASSWORD = 1078;

// The longest user name and password that can be typed (and so ever match).
inline constexpr int kMaxUserNameChars = 254;
inline constexpr int kMaxPasswordChars = 126;

class CLoginDlg : public CDialog {
    Q_OBJECT

  public:
    // `prompts` shows the error messages and outlives the dialog.
    CLoginDlg(IPrompts& prompts, QWidget* parent);

  protected:
    void OnInitDialog() override;
    void OnOK() override;

  private:
    IPrompts& prompts_;
};

const DialogTemplate& LoginDialogTemplate();
