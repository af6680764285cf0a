// Dialog controls by id: lookup and the usual reads and writes of texts, numbers, check states,
// enabling and visibility. `dialog` is the widget whose direct children the controls are (a
// CDialog, a property page, or any host of dialog_builder.h). Calls naming an id that has no
// control, or a control of the wrong kind, do nothing and answer false, 0 or an empty text.
#pragma once

#include <QString>

#include "platform/base/win_types.h"

class QWidget;

// The id a control carries; 0 for a widget without one.
void SetDlgCtrlID(QWidget* control, int id);
int GetDlgCtrlID(const QWidget* control);

// The first direct child of `dialog` with this id, or null.
QWidget* GetDlgItem(const QWidget* dialog, int id);

// The control's text: an edit's text, a label's, a button's, a group box's title, a combo box's
// current text, a date picker's text.
QString GetDlgItemText(const QWidget* dialog, int id);
// Copies at most maxCount - 1 units of the text into `buffer` and terminates it (maxCount > 0);
// returns the units copied.
UINT GetDlgItemText(const QWidget* dialog, int id, WCHAR* buffer, int maxCount);
bool SetDlgItemText(QWidget* dialog, int id, const QString& text);

// The text read as a decimal number: leading white space is skipped, then an optional '-' when
// `isSigned`, then at least one digit; reading stops at the first character that is not a digit.
// *translated (may be null) is FALSE, and the result 0, when there is no digit or the number does
// not fit (32-bit signed when `isSigned`, else unsigned).
UINT GetDlgItemInt(const QWidget* dialog, int id, BOOL* translated, BOOL isSigned);
// Writes `value` in decimal ("%d" when `isSigned`, else "%u").
bool SetDlgItemInt(QWidget* dialog, int id, UINT value, BOOL isSigned);

// Check boxes and radio buttons: BST_CHECKED or BST_UNCHECKED.
bool CheckDlgButton(QWidget* dialog, int id, UINT check);
UINT IsDlgButtonChecked(const QWidget* dialog, int id);
// Checks `checkId` and unchecks every other check or radio button with an id in [firstId, lastId].
bool CheckRadioButton(QWidget* dialog, int firstId, int lastId, int checkId);
// The user's click on a button (also a check or radio button): nothing happens while it is
// disabled; otherwise it toggles as a click would and notifies BN_CLICKED.
bool ClickDlgButton(QWidget* dialog, int id);

bool EnableDlgItem(QWidget* dialog, int id, bool enable);
bool IsDlgItemEnabled(const QWidget* dialog, int id);
// Visibility of the control itself, whether or not the dialog is shown yet.
bool ShowDlgItem(QWidget* dialog, int id, bool show);
bool IsDlgItemShown(const QWidget* dialog, int id);

// The longest text the user may type into an edit (0 = no limit); text the program sets may be
// longer.
bool LimitDlgItemText(QWidget* dialog, int id, int characters);
