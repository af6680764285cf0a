// Items of combo boxes and list boxes, addressed by the control widget (see GetDlgItem). Indexes
// start at 0; CB_ERR / LB_ERR (-1) answers "no such item" or "nothing selected", and every call
// on a null widget or a widget of another kind answers it too. Item data is a pointer-sized
// number kept with each item.
#pragma once

#include <QString>
#include <cstdint>

class QWidget;

int ComboBoxAddString(QWidget* combo, const QString& text);  // index of the new item
int ComboBoxGetCount(const QWidget* combo);
void ComboBoxResetContent(QWidget* combo);                               // removes every item
int ComboBoxSetItemData(QWidget* combo, int index, std::intptr_t data);  // 0 or CB_ERR
std::intptr_t ComboBoxGetItemData(const QWidget* combo, int index);      // CB_ERR for a bad index
QString ComboBoxGetItemText(const QWidget* combo, int index);
int ComboBoxGetCurSel(const QWidget* combo);
// Selects item `index`; -1 or an index past the end clears the selection and answers CB_ERR.
int ComboBoxSetCurSel(QWidget* combo, int index);

int ListBoxAddString(QWidget* list, const QString& text);
int ListBoxGetCount(const QWidget* list);
void ListBoxResetContent(QWidget* list);
QString ListBoxGetItemText(const QWidget* list, int index);
int ListBoxGetCurSel(const QWidget* list);
int ListBoxSetCurSel(QWidget* list, int index);
