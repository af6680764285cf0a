#include "platform/ui/qt_prompts.h"

#include <QDialog>
#include <QMessageBox>
#include <QPushButton>

#include "platform/ui/dialog_codes.h"
#include "platform/ui/ui_text.h"

namespace {

QMessageBox::Icon IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONERROR:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONWARNING:
            return QMessageBox::Warning;
        case MB_ICONINFORMATION:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

int CQtPrompts::MessageBox(QWidget* owner, const QString& text, const QString& caption, UINT type) {
    // The texts come in the program's own words and show as the user reads them.
    QMessageBox box(IconOf(type), ui_text::Message(caption), ui_text::Message(text),
                    QMessageBox::NoButton, owner);
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL: {
            QPushButton* ok = box.addButton(ui_text::Translate(ui_text::kButtons, "确定"),
                                            QMessageBox::AcceptRole);
            QPushButton* cancel = box.addButton(ui_text::Translate(ui_text::kButtons, "取消"),
                                                QMessageBox::RejectRole);
            box.setDefaultButton(ok);
            box.setEscapeButton(cancel);
            box.exec();
            return box.clickedButton() == ok ? IDOK : IDCANCEL;
        }
        case MB_YESNO: {
            QPushButton* yes = box.addButton(ui_text::Translate(ui_text::kButtons, "是(&Y)"),
                                             QMessageBox::YesRole);
            QPushButton* no =
                box.addButton(ui_text::Translate(ui_text::kButtons, "否(&N)"), QMessageBox::NoRole);
            box.setDefaultButton(yes);
            box.setEscapeButton(no);
            box.exec();
            return box.clickedButton() == yes ? IDYES : IDNO;
        }
        default: {
            QPushButton* ok = box.addButton(ui_text::Translate(ui_text::kButtons, "确定"),
                                            QMessageBox::AcceptRole);
            box.setDefaultButton(ok);
            box.setEscapeButton(ok);
            box.exec();
            return IDOK;
        }
    }
}

int CQtPrompts::RunModal(QDialog& dialog) {
    return dialog.exec();
}
