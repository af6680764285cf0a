// What a server's EHLO reply offers that the mail client cares about: STARTTLS and the login
// mechanisms.
#pragma once

struct EhloExtensions {
    bool startTls = false;    // "STARTTLS" listed
    bool authListed = false;  // an "AUTH" line listed the server's mechanisms
    bool login = false;       // LOGIN among them
    bool plain = false;       // PLAIN among them
};

// Reads the NUL-terminated reply `reply` ("250-name\r\n250-STARTTLS\r\n250 AUTH PLAIN LOGIN\r\n");
// keywords and mechanisms are compared without regard to case, and the old form "AUTH=LOGIN"
// counts as well.
EhloExtensions ParseEhloReply(const char* reply);
