// CAboutDlg: the About box (dialog 100): the program icon, its name, its version and "确定".
#pragma once

#include "platform/ui/dialog.h"

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDC_ABOUT_ICON = 1101;

class CAboutDlg : public CDialog {
    Q_OBJECT

  public:
    explicit CAboutDlg(QWidget* parent);

  protected:
    // Puts the program icon into its picture control.
    void OnInitDialog() override;
};

const DialogTemplate& AboutDialogTemplate();
