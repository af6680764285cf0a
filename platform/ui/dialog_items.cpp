#include "platform/ui/dialog_items.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVariant>
#include <QWidget>
#include <cstdint>
#include <limits>

#include "platform/ui/dialog_codes.h"
#include "platform/ui/edit_control.h"

namespace {
constexpr char kIdProperty[] = "dlgCtrlId";
}  // namespace

void SetDlgCtrlID(QWidget* control, int id) {
    if (control) control->setProperty(kIdProperty, id);
}

int GetDlgCtrlID(const QWidget* control) {
    if (!control) return 0;
    const QVariant id = control->property(kIdProperty);
    return id.isValid() ? id.toInt() : 0;
}

QWidget* GetDlgItem(const QWidget* dialog, int id) {
    if (!dialog) return nullptr;
    for (QObject* child : dialog->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow()) continue;
        const QVariant value = widget->property(kIdProperty);
        if (value.isValid() && value.toInt() == id) return widget;
    }
    return nullptr;
}

QString GetDlgItemText(const QWidget* dialog, int id) {
    QWidget* control = GetDlgItem(dialog, id);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text();
    if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(control)) return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(control)) return group->title();
    if (auto* combo = qobject_cast<QComboBox*>(control)) return combo->currentText();
    if (auto* date = qobject_cast<QDateTimeEdit*>(control)) return date->text();
    return {};
}

UINT GetDlgItemText(const QWidget* dialog, int id, WCHAR* buffer, int maxCount) {
    if (!buffer || maxCount <= 0) return 0;
    const QString text = GetDlgItemText(dialog, id);
    const int count = std::min<int>(static_cast<int>(text.size()), maxCount - 1);
    for (int i = 0; i < count; ++i) buffer[i] = text.at(i).unicode();
    buffer[count] = 0;
    return static_cast<UINT>(count);
}

bool SetDlgItemText(QWidget* dialog, int id, const QString& text) {
    QWidget* control = GetDlgItem(dialog, id);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setTitle(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->isEditable()) {
        combo->setEditText(text);
    } else if (combo) {
        // A drop-down list shows only its items: select the item with this text.
        const int index = combo->findText(text, Qt::MatchExactly);
        if (index < 0) return false;
        combo->setCurrentIndex(index);
    } else {
        return false;
    }
    return true;
}

UINT GetDlgItemInt(const QWidget* dialog, int id, BOOL* translated, BOOL isSigned) {
    if (translated) *translated = FALSE;
    if (!GetDlgItem(dialog, id)) return 0;
    const QString text = GetDlgItemText(dialog, id);
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace()) ++i;
    bool negative = false;
    if (isSigned && i < text.size() && text.at(i) == QLatin1Char('-')) {
        negative = true;
        ++i;
    }
    const std::int64_t limit =
        isSigned ? (negative ? std::int64_t{1} << 31 : std::numeric_limits<std::int32_t>::max())
                 : std::numeric_limits<std::uint32_t>::max();
    std::int64_t value = 0;
    bool anyDigit = false;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) break;
        anyDigit = true;
        value = value * 10 + (c.unicode() - u'0');
        if (value > limit) return 0;
    }
    if (!anyDigit) return 0;
    if (translated) *translated = TRUE;
    return static_cast<UINT>(negative ? -value : value);
}

bool SetDlgItemInt(QWidget* dialog, int id, UINT value, BOOL isSigned) {
    const QString text =
        isSigned ? QString::number(static_cast<std::int32_t>(value)) : QString::number(value);
    return SetDlgItemText(dialog, id, text);
}

bool CheckDlgButton(QWidget* dialog, int id, UINT check) {
    auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(dialog, id));
    if (!button || !button->isCheckable()) return false;
    button->setChecked(check == BST_CHECKED);
    return true;
}

UINT IsDlgButtonChecked(const QWidget* dialog, int id) {
    auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(dialog, id));
    return button && button->isCheckable() && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

bool CheckRadioButton(QWidget* dialog, int firstId, int lastId, int checkId) {
    if (!dialog) return false;
    bool found = false;
    for (QObject* child : dialog->children()) {
        auto* button = qobject_cast<QAbstractButton*>(child);
        if (!button || !button->isCheckable()) continue;
        const int id = GetDlgCtrlID(button);
        if (id < firstId || id > lastId) continue;
        button->setChecked(id == checkId);
        found = found || id == checkId;
    }
    return found;
}

bool ClickDlgButton(QWidget* dialog, int id) {
    auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(dialog, id));
    if (!button) return false;
    button->click();
    return true;
}

bool EnableDlgItem(QWidget* dialog, int id, bool enable) {
    QWidget* control = GetDlgItem(dialog, id);
    if (!control) return false;
    control->setEnabled(enable);
    return true;
}

bool IsDlgItemEnabled(const QWidget* dialog, int id) {
    const QWidget* control = GetDlgItem(dialog, id);
    return control && control->isEnabled();
}

bool ShowDlgItem(QWidget* dialog, int id, bool show) {
    QWidget* control = GetDlgItem(dialog, id);
    if (!control) return false;
    control->setVisible(show);
    return true;
}

bool IsDlgItemShown(const QWidget* dialog, int id) {
    const QWidget* control = GetDlgItem(dialog, id);
    return control && !control->isHidden();
}

bool LimitDlgItemText(QWidget* dialog, int id, int characters) {
    auto* edit = qobject_cast<CEditControl*>(GetDlgItem(dialog, id));
    if (!edit) return false;
    edit->SetLimit(characters > 0 ? characters : 0);
    return true;
}
