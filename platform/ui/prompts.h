// Everything that waits for the user: message boxes and modal dialogs. The program asks through
// this interface only, so that the real one (CQtPrompts) shows windows and a test's
// (CScriptedPrompts) answers from a script and records what was asked. GUI thread only.
#pragma once

#include <QString>

#include "platform/base/win_types.h"

class QDialog;
class QWidget;

// Message box types: one button set ORed with at most one icon.
inline constexpr UINT MB_OK = 0x00;
inline constexpr UINT MB_OKCANCEL = 0x01;
inline constexpr UINT MB_YESNO = 0x04;
inline constexpr UINT MB_ICONERROR = 0x10;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONWARNING = 0x30;
inline constexpr UINT MB_ICONINFORMATION = 0x40;
inline constexpr UINT MB_TYPEMASK = 0x0F;
inline constexpr UINT MB_ICONMASK = 0xF0;

class IPrompts {
  public:
    // Shows `text` under `caption` with the buttons of `type` and waits for the answer: IDOK,
    // IDCANCEL, IDYES or IDNO. Closing an OK-Cancel box without a button answers IDCANCEL, a
    // Yes-No box IDNO, an OK box IDOK. `owner` (may be null) is the window it is modal to.
    virtual int MessageBox(QWidget* owner, const QString& text, const QString& caption,
                           UINT type) = 0;

    // Runs `dialog` modally and returns its result (the code it ended with through
    // QDialog::done, IDOK / IDCANCEL for a CDialog). The dialog is not destroyed.
    virtual int RunModal(QDialog& dialog) = 0;

  protected:
    ~IPrompts() = default;
};
