// How a mail's connection to its server is protected.
#pragma once

#include <cstdint>

enum class MailSecurity : std::uint32_t {
    kNone = 0,         // plain SMTP, as the server answers
    kStartTls = 1,     // EHLO, STARTTLS, the TLS handshake, EHLO again; refused when not offered
    kImplicitTls = 2,  // TLS from the first byte (the SMTPS port, 465)
};

// The mode a stored "SMTP Security" value stands for; anything but 1 and 2 means none.
constexpr MailSecurity MailSecurityFromSetting(std::uint32_t value) {
    return value == 1   ? MailSecurity::kStartTls
           : value == 2 ? MailSecurity::kImplicitTls
                        : MailSecurity::kNone;
}
