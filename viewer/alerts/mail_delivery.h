// Delivering one prepared mail with CSmtp: where the server listens and how long each wait may
// last, and the delivery itself.
#pragma once

#include <QString>
#include <chrono>
#include <cstdint>
#include <string>

#include "viewer/alerts/outgoing_mail.h"

class AbortSignal;

struct MailTransport {
    // The port of a mail that names none.
    std::uint16_t port = 25;
    // The certificate authorities (a PEM file) that TLS connections trust; empty: the system's
    // trust store.
    std::string caFile;
    std::chrono::milliseconds connectTimeout{10000};
    std::chrono::milliseconds replyTimeout{30000};
};

// Builds the CSmtp dialogue for `mail` (sender, reply address, subject, recipient, body,
// priority 3, the mailer text, the login when mail.login, the port and transport security) and runs
// it on the calling thread. True when the server took the mail. On failure, *failure (may be null)
// tells why, for a person (empty when there is nothing more to say). Every wait ends once `abort`
// (may be null) is raised.
bool DeliverMail(const OutgoingMail& mail, const MailTransport& transport, const AbortSignal* abort,
                 QString* failure);
