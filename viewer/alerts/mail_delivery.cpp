#include "viewer/alerts/mail_delivery.h"

#include "platform/ui/ui_text.h"
#include "viewer/alerts/smtp.h"
#include "viewer/alerts/smtp_failure.h"

bool DeliverMail(const OutgoingMail& mail, const MailTransport& transport, const AbortSignal* abort,
                 QString* failure) {
    CSmtp smtp;
    if (smtp.errorCode != 0) {
        if (failure) *failure = ui_text::Message(QStringLiteral("内存不足 (out of memory)"));
        return false;
    }
    smtp.SetServerHost(mail.server.c_str());
    smtp.SetPort(mail.port != 0 ? mail.port : transport.port);
    smtp.SetSecurity(mail.security);
    smtp.SetTrustFile(transport.caFile);
    smtp.SetFromAddress(mail.fromAddress.c_str());
    smtp.SetFromName(mail.fromName.c_str());
    smtp.SetReplyAddress(mail.fromAddress.c_str());
    smtp.SetSubjectLine(mail.subject.c_str());
    smtp.AddToAddress(mail.recipient.c_str());
    smtp.SetBodyText(mail.body.c_str());
    smtp.priority = 3;
    smtp.SetMailerText();
    if (mail.login) {
        smtp.SetAuthUser(mail.user.c_str());
        smtp.SetAuthPassword(mail.password.c_str());
    }
    smtp.SetTimeouts(transport.connectTimeout, transport.replyTimeout);
    smtp.SetAbort(abort);
    if (smtp.Deliver()) return true;
    if (failure) *failure = DescribeSmtpFailure(smtp);
    return false;
}
