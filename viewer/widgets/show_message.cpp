#include "viewer/widgets/show_message.h"

#include "viewer/widgets/message_popup.h"

void ShowMessage(QWidget* mainDialog, CMessage*& popup, const QString& text) {
    if (!popup) {
        popup = new CMessage(mainDialog);  // owned by the main dialog
        popup->Create();
    }
    popup->hide();
    popup->SetText(text);
    popup->show();
    popup->raise();
    popup->activateWindow();
}
