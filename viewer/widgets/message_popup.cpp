#include "viewer/widgets/message_popup.h"

#include <QLabel>

#include "platform/ui/ui_text.h"
#include "viewer/widgets/message_template.h"

CMessage::CMessage(QWidget* parent) : CDialog(MessageDialogTemplate(), parent) {}

void CMessage::SetText(const QString& text) {
    m_text = text;
    if (m_static) m_static->setText(ui_text::Message(m_text));
}

void CMessage::OnInitDialog() {
    CDialog::OnInitDialog();
    m_static = qobject_cast<QLabel*>(GetDlgItem(IDC_MESSAGE_TEXT));
    if (m_static) m_static->setText(ui_text::Message(m_text));
}
