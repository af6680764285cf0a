#include "platform/ui/dialog_lists.h"

#include <QComboBox>
#include <QListWidget>
#include <QVariant>

#include "platform/ui/dialog_codes.h"

namespace {
QComboBox* AsCombo(const QWidget* widget) {
    return qobject_cast<QComboBox*>(const_cast<QWidget*>(widget));
}
QListWidget* AsList(const QWidget* widget) {
    return qobject_cast<QListWidget*>(const_cast<QWidget*>(widget));
}
bool InRange(int index, int count) {
    return index >= 0 && index < count;
}
}  // namespace

int ComboBoxAddString(QWidget* combo, const QString& text) {
    QComboBox* box = AsCombo(combo);
    if (!box) return CB_ERR;
    box->addItem(text, QVariant::fromValue<qlonglong>(0));
    return box->count() - 1;
}

int ComboBoxGetCount(const QWidget* combo) {
    const QComboBox* box = AsCombo(combo);
    return box ? box->count() : CB_ERR;
}

void ComboBoxResetContent(QWidget* combo) {
    if (QComboBox* box = AsCombo(combo)) box->clear();
}

int ComboBoxSetItemData(QWidget* combo, int index, std::intptr_t data) {
    QComboBox* box = AsCombo(combo);
    if (!box || !InRange(index, box->count())) return CB_ERR;
    box->setItemData(index, QVariant::fromValue<qlonglong>(data));
    return 0;
}

std::intptr_t ComboBoxGetItemData(const QWidget* combo, int index) {
    const QComboBox* box = AsCombo(combo);
    if (!box || !InRange(index, box->count())) return CB_ERR;
    return static_cast<std::intptr_t>(box->itemData(index).toLongLong());
}

QString ComboBoxGetItemText(const QWidget* combo, int index) {
    const QComboBox* box = AsCombo(combo);
    if (!box || !InRange(index, box->count())) return {};
    return box->itemText(index);
}

int ComboBoxGetCurSel(const QWidget* combo) {
    const QComboBox* box = AsCombo(combo);
    if (!box) return CB_ERR;
    return box->currentIndex() >= 0 ? box->currentIndex() : CB_ERR;
}

int ComboBoxSetCurSel(QWidget* combo, int index) {
    QComboBox* box = AsCombo(combo);
    if (!box) return CB_ERR;
    if (!InRange(index, box->count())) {
        box->setCurrentIndex(-1);
        return CB_ERR;
    }
    box->setCurrentIndex(index);
    return index;
}

int ListBoxAddString(QWidget* list, const QString& text) {
    QListWidget* box = AsList(list);
    if (!box) return LB_ERR;
    box->addItem(text);
    return box->count() - 1;
}

int ListBoxGetCount(const QWidget* list) {
    const QListWidget* box = AsList(list);
    return box ? box->count() : LB_ERR;
}

void ListBoxResetContent(QWidget* list) {
    if (QListWidget* box = AsList(list)) box->clear();
}

QString ListBoxGetItemText(const QWidget* list, int index) {
    const QListWidget* box = AsList(list);
    if (!box || !InRange(index, box->count())) return {};
    return box->item(index)->text();
}

int ListBoxGetCurSel(const QWidget* list) {
    const QListWidget* box = AsList(list);
    if (!box) return LB_ERR;
    return box->currentRow() >= 0 ? box->currentRow() : LB_ERR;
}

int ListBoxSetCurSel(QWidget* list, int index) {
    QListWidget* box = AsList(list);
    if (!box) return LB_ERR;
    if (!InRange(index, box->count())) {
        box->setCurrentRow(-1);
        return LB_ERR;
    }
    box->setCurrentRow(index);
    return index;
}
