// Codes that CSmtp records in its errorCode field: the step of the last failure, 0 for none.
#pragma once

#include "platform/base/win_types.h"

namespace smtp_error {

inline constexpr DWORD kNone = 0;
inline constexpr DWORD kStartupFailed = 100;       // socket library start-up failed
inline constexpr DWORD kVersionUnavailable = 101;  // socket library version not available
inline constexpr DWORD kSendFailed = 102;          // sending failed, or a command too long to send
inline constexpr DWORD kReceiveFailed = 103;       // receiving failed or no reply in time
inline constexpr DWORD kNoConnection = 106;        // host lookup, socket creation or connect failed
inline constexpr DWORD kNoLocalHost = 107;         // local host name not obtainable
inline constexpr DWORD kHeaderFailed = 200;        // header building failed
inline constexpr DWORD kNoSender = 201;            // no sender address
inline constexpr DWORD kNoSubject = 202;           // no subject (the mail still goes out)
inline constexpr DWORD kNoRecipient = 203;         // no recipient
inline constexpr DWORD kNoLoginUser = 204;         // no login user name
inline constexpr DWORD kNoLoginPassword = 205;     // no login password
inline constexpr DWORD kRecipientWithoutAddress = 206;
inline constexpr DWORD kMailFromRefused = 300;
inline constexpr DWORD kEhloRefused = 301;
inline constexpr DWORD kAuthRefused = 302;
inline constexpr DWORD kDataRefused = 303;
inline constexpr DWORD kQuitNotAnswered = 304;  // QUIT not answered with 221
inline constexpr DWORD kRecipientRefused = 305;
inline constexpr DWORD kMessageRefused = 306;  // refused after the end of data
// STARTTLS asked for but not listed in the EHLO reply, or answered other than 220; no login
// and no mail went out over the plain connection.
inline constexpr DWORD kStartTlsRefused = 307;
inline constexpr DWORD kConnectionClosed = 400;  // the server closed the connection
inline constexpr DWORD kBadGreeting = 401;       // greeting not 220
inline constexpr DWORD kLoginRejected = 404;     // login rejected (535)
inline constexpr DWORD kLoginUnexpected = 405;   // unexpected reply during login
inline constexpr DWORD kOutOfMemory = 406;
// The server's certificate did not verify: not issued by a trusted authority, expired or not
// yet valid, or not for the server's host name.
inline constexpr DWORD kCertificateNotVerified = 407;
// The TLS session could not be set up or its handshake failed otherwise (no common protocol
// version, the connection failed or timed out during the handshake).
inline constexpr DWORD kTlsFailed = 408;

}  // namespace smtp_error
