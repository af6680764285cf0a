// Result, notification and state codes of dialogs and their controls, with their Windows values,
// so that dialog handlers written against the usual codes read the same here.
#pragma once

#include "platform/base/win_types.h"

// Dialog results and the ids of the standard buttons.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
// The id of controls nobody looks up (labels, group boxes).
inline constexpr int IDC_STATIC = -1;

// Notification codes a control sends with its id to the dialog's command handler.
inline constexpr int BN_CLICKED = 0;      // push button, check box or radio button clicked
inline constexpr int CBN_SELCHANGE = 1;   // the user picked another combo box item
inline constexpr int CBN_EDITCHANGE = 5;  // the user typed into an editable combo box
inline constexpr int LBN_SELCHANGE = 1;   // the user picked another list box item
inline constexpr int EN_CHANGE = 0x0300;  // the user changed an edit's text

// Check states of check boxes and radio buttons.
inline constexpr UINT BST_UNCHECKED = 0;
inline constexpr UINT BST_CHECKED = 1;

// "No item" answers of combo and list boxes.
inline constexpr int CB_ERR = -1;
inline constexpr int LB_ERR = -1;

// Show commands (IPropertyPage::Show).
inline constexpr UINT SW_HIDE = 0;
inline constexpr UINT SW_SHOWNORMAL = 1;
inline constexpr UINT SW_SHOW = 5;
