// OutgoingMail: one mail ready to go, its texts already in the user's 8-bit character set, and
// PrepareMail, which converts the settings' texts for it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/base/win_types.h"
#include "viewer/alerts/mail_security.h"

struct OutgoingMail {
    std::string server;
    std::string fromAddress;
    std::string fromName;
    std::string recipient;
    std::string subject;
    std::string user;
    std::string password;
    bool login = false;  // log in with user and password (AUTH LOGIN, or PLAIN)
    std::string body;
    std::uint16_t port = 0;  // the server's port; 0: the transport's default
    MailSecurity security = MailSecurity::kNone;
};

// The UTF-16 texts of a mail, NUL-terminated.
struct MailTexts {
    LPCWSTR server;
    LPCWSTR fromAddress;
    LPCWSTR fromName;
    LPCWSTR recipient;
    LPCWSTR subject;
    LPCWSTR user;
    LPCWSTR password;
};

// Converts the texts with NarrowToOem in the order of MailTexts. Every text must be non-empty and
// fit the 512-byte buffer, the user and password too even when `login` is false; otherwise
// nothing (no mail can be sent).
std::optional<OutgoingMail> PrepareMail(const MailTexts& texts, bool login, std::string body);
