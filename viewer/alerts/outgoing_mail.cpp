#include "viewer/alerts/outgoing_mail.h"

#include "viewer/settings/narrow_to_oem.h"

namespace {

bool Narrow(LPCWSTR text, std::string* out) {
    if (!text || !text[0]) return false;
    char buffer[kNarrowBufferBytes];
    if (!NarrowToOem(text, buffer)) return false;
    *out = buffer;
    return !out->empty();
}

}  // namespace

std::optional<OutgoingMail> PrepareMail(const MailTexts& texts, bool login, std::string body) {
    OutgoingMail mail;
    if (!Narrow(texts.server, &mail.server) || !Narrow(texts.fromAddress, &mail.fromAddress) ||
        !Narrow(texts.fromName, &mail.fromName) || !Narrow(texts.recipient, &mail.recipient) ||
        !Narrow(texts.subject, &mail.subject) || !Narrow(texts.user, &mail.user) ||
        !Narrow(texts.password, &mail.password))
        return std::nullopt;
    mail.login = login;
    mail.body = std::move(body);
    return mail;
}
