#include "platform/ui/dialog_builder.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "platform/ui/edit_control.h"
#include "platform/ui/radio_control.h"
#include "platform/ui/ui_text.h"

namespace {

bool Has(UINT style, UINT flag) {
    return (style & flag) != 0;
}

Qt::Alignment TextAlignment(UINT style) {
    if (Has(style, control_style::kCenter)) return Qt::AlignHCenter | Qt::AlignTop;
    if (Has(style, control_style::kRight)) return Qt::AlignRight | Qt::AlignTop;
    return Qt::AlignLeft | Qt::AlignTop;
}

QWidget* CreateEdit(const ControlTemplate& control, QWidget* parent) {
    auto* edit = new CEditControl(parent);
    edit->setText(TemplateText(control.text));
    edit->setFrame(Has(control.style, control_style::kBorder));
    if (Has(control.style, control_style::kPassword)) edit->setEchoMode(QLineEdit::Password);
    if (Has(control.style, control_style::kReadOnly)) edit->setReadOnly(true);
    edit->SetDigitsOnly(Has(control.style, control_style::kNumber));
    return edit;
}

QWidget* CreateCombo(const ControlTemplate& control, QWidget* parent, bool editable) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(editable);
    if (editable) combo->setEditText(TemplateText(control.text));
    return combo;
}

QWidget* CreateFrame(QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(1);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    frame->setPalette(palette);
    return frame;
}

// A combo box's rectangle in a template includes its drop-down list; the widget itself is as
// high as its selection field.
QRect ControlRect(const ControlTemplate& control, QWidget* widget, const DialogUnitMapping& map) {
    QRect rect = map.ToPixels(control.x, control.y, control.cx, control.cy);
    if (qobject_cast<QComboBox*>(widget)) {
        rect.setHeight(std::min(rect.height(), widget->sizeHint().height()));
    }
    return rect;
}

// A one-line label keeps its text on one line and, when our fonts make the text wider than the
// label, grows rightwards to show it whole (up to the host's right edge) instead of cutting it.
void FitOneLineLabel(QWidget* widget, const ControlTemplate& control, const QWidget* host) {
    auto* label = qobject_cast<QLabel*>(widget);
    if (!label || control.kind != ControlKind::kStatic || !label->wordWrap()) return;
    if (control.style & (control_style::kCenter | control_style::kRight)) return;
    const QFontMetrics metrics(label->font());
    if (label->height() >= 2 * metrics.lineSpacing()) return;
    label->setWordWrap(false);
    const int wanted = metrics.horizontalAdvance(label->text()) + 1;
    const int room = host->width() > 0 ? host->width() - label->x() : wanted;
    if (wanted > label->width())
        label->resize(std::min(wanted, std::max(room, label->width())), label->height());
}

void Wire(QWidget* widget, int id, const CommandSink& sink) {
    if (!sink) return;
    if (auto* edit = qobject_cast<CEditControl*>(widget)) {
        QObject::connect(edit, &CEditControl::userChanged, edit,
                         [sink, id] { sink(id, EN_CHANGE); });
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        QObject::connect(button, &QAbstractButton::clicked, button,
                         [sink, id] { sink(id, BN_CLICKED); });
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        QObject::connect(combo, &QComboBox::activated, combo,
                         [sink, id] { sink(id, CBN_SELCHANGE); });
        if (QLineEdit* field = combo->lineEdit()) {
            QObject::connect(field, &QLineEdit::textEdited, combo,
                             [sink, id] { sink(id, CBN_EDITCHANGE); });
        }
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
        QObject::connect(list, &QListWidget::itemClicked, list,
                         [sink, id] { sink(id, LBN_SELCHANGE); });
    }
}

}  // namespace

QWidget* CreateStandardControl(const ControlTemplate& control, int radioGroup, QWidget* parent) {
    const QString text = TemplateText(control.text);
    switch (control.kind) {
        case ControlKind::kPushButton:
        case ControlKind::kDefPushButton: {
            auto* button = new QPushButton(text, parent);
            button->setDefault(control.kind == ControlKind::kDefPushButton);
            return button;
        }
        case ControlKind::kEdit:
            return CreateEdit(control, parent);
        case ControlKind::kStatic: {
            auto* label = new QLabel(text, parent);
            label->setWordWrap(true);
            label->setAlignment(TextAlignment(control.style));
            label->setTextFormat(Qt::PlainText);
            if (Has(control.style, control_style::kBorder)) label->setFrameShape(QFrame::Box);
            return label;
        }
        case ControlKind::kGroupBox: {
            auto* group = new QGroupBox(text, parent);
            if (Has(control.style, control_style::kCenter)) group->setAlignment(Qt::AlignHCenter);
            return group;
        }
        case ControlKind::kAutoRadioButton:
            return new CRadioControl(text, radioGroup, parent);
        case ControlKind::kAutoCheckBox:
            return new QCheckBox(text, parent);
        case ControlKind::kDropDownList:
            return CreateCombo(control, parent, false);
        case ControlKind::kDropDown:
            return CreateCombo(control, parent, true);
        case ControlKind::kListBox: {
            auto* list = new QListWidget(parent);
            if (!Has(control.style, control_style::kVScroll)) {
                list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            }
            return list;
        }
        case ControlKind::kFrame:
            return CreateFrame(parent);
        case ControlKind::kPicture: {
            auto* picture = new QLabel(parent);
            picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return picture;
        }
        case ControlKind::kDatePicker: {
            auto* date = new QDateEdit(parent);
            date->setCalendarPopup(true);
            date->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
            return date;
        }
    }
    return nullptr;
}

void BuildDialogControls(QWidget* host, const DialogTemplate& dialog,
                         const DialogUnitMapping& mapping, const ControlFactory& factory,
                         const CommandSink& sink) {
    const QByteArray context = ui_text::DialogContext(dialog);
    std::vector<QWidget*> groupBoxes;
    int radioGroup = 0;
    bool inRadioRun = false;
    for (const ControlTemplate& control : dialog.controls) {
        // A radio group is a run of radio buttons; the group style or any other control ends it.
        const bool radio = control.kind == ControlKind::kAutoRadioButton;
        if (radio && (!inRadioRun || Has(control.style, control_style::kGroup))) ++radioGroup;
        inRadioRun = radio;

        // The control is made with its text as the user reads it (translated, when a translation
        // is installed); the row keeps its id, kind, rectangle and styles.
        const QByteArray text = ui_text::Translate(context.constData(), control.text).toUtf8();
        ControlTemplate shown = control;
        if (control.text) shown.text = text.constData();
        QWidget* widget = factory ? factory(shown, host) : nullptr;
        if (!widget) widget = CreateStandardControl(shown, radioGroup, host);
        if (!widget) continue;
        SetDlgCtrlID(widget, control.id);
        widget->setGeometry(ControlRect(control, widget, mapping));
        FitOneLineLabel(widget, shown, host);
        if (Has(control.style, control_style::kDisabled)) widget->setEnabled(false);
        if (Has(control.style, control_style::kHidden)) widget->setVisible(false);
        if (control.kind == ControlKind::kGroupBox) groupBoxes.push_back(widget);
        Wire(widget, control.id, sink);
    }
    // A group box surrounds controls that come after it in the stacking order; put it beneath
    // them so that it never takes their clicks.
    for (QWidget* group : groupBoxes) group->lower();
}

QWidget* CreateChildDialog(QWidget* parent, const DialogTemplate& dialog, const CommandSink& sink) {
    auto* page = new QFrame(parent);
    if (dialog.style & dialog_style::kBorder) {
        page->setFrameShape(QFrame::Box);
        page->setLineWidth(1);
    }
    const QFont font = DialogFont(dialog);
    page->setFont(font);
    const DialogUnitMapping mapping = DialogUnitMapping::For(dialog, font);
    page->resize(mapping.ToPixels(dialog.cx, dialog.cy));
    BuildDialogControls(page, dialog, mapping, {}, sink);
    return page;
}

QSize DialogSizeInPixels(const DialogTemplate& dialog) {
    const QFont font = DialogFont(dialog);
    return DialogUnitMapping::For(dialog, font).ToPixels(dialog.cx, dialog.cy);
}
