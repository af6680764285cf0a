// Makes the widgets of a control table. Every control becomes a direct child of the host widget,
// placed at its rectangle converted to pixels, and keeps its id (dialog_items.h looks controls up
// by it). The user's actions on controls reach a command sink as (control id, notification code),
// the shape of a dialog's command message:
//   push button, check box, radio button  clicked               BN_CLICKED
//   edit                                  text changed by user  EN_CHANGE
//   combo box                             item picked by user   CBN_SELCHANGE
//   editable combo box                    text typed by user    CBN_EDITCHANGE
//   list box                              item picked by user   LBN_SELCHANGE
// Changes the program makes send nothing.
#pragma once

#include <QString>
#include <functional>

#include "platform/ui/dialog_template.h"
#include "platform/ui/dialog_units.h"

class QWidget;

using CommandSink = std::function<void(int id, int code)>;

// Makes a control other than the standard one for a table row (a skinned button, a video pane);
// returns null to get the standard control. The widget must be created with `parent` as parent.
using ControlFactory = std::function<QWidget*(const ControlTemplate& control, QWidget* parent)>;

// The standard widget for a control kind, with the row's text and styles, as a child of `parent`
// (not yet placed, no id).
QWidget* CreateStandardControl(const ControlTemplate& control, int radioGroup, QWidget* parent);

// Creates the controls of `dialog` on `host` in table order (which is the Tab order), places them
// with `mapping`, gives them their ids, their styles (hidden, disabled) and the host's font, puts
// group boxes beneath the other controls, and wires the notifications to `sink` (may be empty).
// `factory` may be empty.
void BuildDialogControls(QWidget* host, const DialogTemplate& dialog,
                         const DialogUnitMapping& mapping, const ControlFactory& factory,
                         const CommandSink& sink);

// A child dialog (a property page): a widget of the template's size with its controls, as a child
// of `parent`, with the template's font and, for the border style, a thin frame.
QWidget* CreateChildDialog(QWidget* parent, const DialogTemplate& dialog, const CommandSink& sink);

// The template's client size in pixels, with the template's font and mapping.
QSize DialogSizeInPixels(const DialogTemplate& dialog);

// A template text as a QString (null -> empty).
inline QString TemplateText(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}
