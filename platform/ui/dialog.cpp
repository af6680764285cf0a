#include "platform/ui/dialog.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/ui/dialog_builder.h"
#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "platform/ui/ui_text.h"

namespace {

Qt::WindowFlags FlagsFor(UINT style) {
    Qt::WindowFlags flags = Qt::Dialog;
    if (style & dialog_style::kCaption) {
        flags |= Qt::WindowTitleHint | Qt::CustomizeWindowHint;
        if (style & dialog_style::kSysMenu)
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    } else {
        flags |= Qt::FramelessWindowHint;
    }
    return flags;
}

}  // namespace

CDialog::CDialog(const DialogTemplate& dialog, QWidget* parent)
    : QDialog(parent, FlagsFor(dialog.style)),
      template_(dialog),
      mapping_(DialogUnitMapping::For(dialog, DialogFont(dialog))),
      timers_([this](UINT id) { OnTimer(id); }) {
    setFont(DialogFont(dialog));
    setWindowTitle(ui_text::Translate(ui_text::DialogContext(dialog).constData(), dialog.caption));
    setFixedSize(mapping_.ToPixels(dialog.cx, dialog.cy));
}

CDialog::~CDialog() {
    timers_.KillAll();
}

void CDialog::Create() {
    if (created_) return;
    created_ = true;
    BuildDialogControls(
        this, template_, mapping_,
        [this](const ControlTemplate& control, QWidget* parent) {
            return CreateControl(control, parent);
        },
        [this](int id, int code) { OnCommand(id, code); });
    OnInitDialog();
}

QWidget* CDialog::GetDlgItem(int id) const {
    return ::GetDlgItem(this, id);
}

void CDialog::OnTimer(UINT /*id*/) {}

void CDialog::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    if (id == IDOK) OnOK();
    if (id == IDCANCEL) OnCancel();
}

void CDialog::accept() {
    OnCommand(IDOK, BN_CLICKED);
}

void CDialog::reject() {
    OnCommand(IDCANCEL, BN_CLICKED);
}

void CDialog::OnInitDialog() {}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

QWidget* CDialog::CreateControl(const ControlTemplate& /*control*/, QWidget* /*parent*/) {
    return nullptr;
}

void CDialog::setVisible(bool visible) {
    if (visible) Create();
    QDialog::setVisible(visible);
}

void CDialog::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        if (template_.style & dialog_style::kCenter) {
            const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
            QRect area;
            if (owner && owner->isVisible()) {
                area = owner->frameGeometry();
            } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
                area = screen->availableGeometry();
            }
            if (area.isValid()) move(area.center() - rect().center());
        }
    }
    QDialog::showEvent(event);
}
