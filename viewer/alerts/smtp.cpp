#include "viewer/alerts/smtp.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <new>

#include "viewer/alerts/base64.h"
#include "viewer/alerts/ehlo_reply.h"
#include "viewer/alerts/mail_date.h"
#include "viewer/alerts/mail_text.h"
#include "viewer/alerts/smtp_error.h"
#include "viewer/alerts/smtp_reply.h"
#include "viewer/alerts/tls_channel.h"

namespace {

constexpr WORD kSmtpPort = 25;
constexpr const char* kMailerText = "This is (v3.02) Professional";
// Used in EHLO when the machine's own name cannot be obtained.
constexpr const char* kFallbackHostName = "domain";
// Longest wait for the TLS farewell at the end.
constexpr std::chrono::milliseconds kCloseTimeout{1000};

}  // namespace

CSmtp::CSmtp() {
    try {
        sendBuffer.assign(kBufferSize, '\0');
        receiveBuffer.assign(kBufferSize, '\0');
    } catch (const std::bad_alloc&) {
        sendBuffer.clear();
        receiveBuffer.clear();
        errorCode = smtp_error::kOutOfMemory;
    }
}

CSmtp::~CSmtp() = default;

void CSmtp::StoreText(std::optional<std::string>& field, const char* text) {
    try {
        if (text)
            field = std::string(text);
        else
            field.reset();
    } catch (const std::bad_alloc&) {
        errorCode = smtp_error::kOutOfMemory;
    }
}

void CSmtp::SetServerHost(const char* host) {
    StoreText(serverHost, host);
    port = kSmtpPort;
}

void CSmtp::SetFromAddress(const char* address) {
    StoreText(fromAddress, address);
}
void CSmtp::SetFromName(const char* name) {
    StoreText(fromName, name);
}
void CSmtp::SetReplyAddress(const char* address) {
    StoreText(replyTo, address);
}
void CSmtp::SetSubjectLine(const char* text) {
    StoreText(subject, text);
}
void CSmtp::SetBodyText(const char* text) {
    StoreText(body, text);
}
void CSmtp::SetAuthUser(const char* user) {
    StoreText(authUser, user);
}
void CSmtp::SetAuthPassword(const char* password) {
    StoreText(authPassword, password);
}
void CSmtp::SetMailerText() {
    StoreText(mailer, kMailerText);
}

bool CSmtp::AddToAddress(const char* address) {
    if (!address) {
        errorCode = smtp_error::kRecipientWithoutAddress;
        return false;
    }
    try {
        toList.push_back(Recipient{std::string(), std::string(address)});
    } catch (const std::bad_alloc&) {
        errorCode = smtp_error::kOutOfMemory;
        return false;
    }
    return true;
}

void CSmtp::SetTimeouts(std::chrono::milliseconds connect, std::chrono::milliseconds reply) {
    connectTimeout = connect;
    replyTimeout = reply;
}

bool CSmtp::Deliver() {
    if (sendBuffer.size() != kBufferSize || receiveBuffer.size() != kBufferSize) {
        errorCode = smtp_error::kOutOfMemory;
        return false;
    }
    const bool delivered = RunDialogue();
    if (tls) {
        tls->Close(TcpConnection::Clock::now() + std::min(replyTimeout, kCloseTimeout));
        tls.reset();
    }
    socket.Close();
    return delivered;
}

std::string CSmtp::LastReplyLine() const {
    std::string reply = LastReply();
    while (!reply.empty() && (reply.back() == '\n' || reply.back() == '\r')) reply.pop_back();
    const std::size_t lineStart = reply.rfind('\n');
    return lineStart == std::string::npos ? reply : reply.substr(lineStart + 1);
}

bool CSmtp::Hello() {
    if (!Exchange({"EHLO ", SingleLine(localHost), "\r\n"}, 250, smtp_error::kEhloRefused))
        return false;
    const EhloExtensions offered = ParseEhloReply(receiveBuffer.data());
    offersStartTls = offered.startTls;
    listsAuth = offered.authListed;
    offersLogin = offered.login;
    offersPlain = offered.plain;
    return true;
}

bool CSmtp::StartTls() {
    tls = std::make_unique<TlsChannel>(socket);
    if (tls->Handshake(serverHost.value_or(std::string()), trustFile,
                       TcpConnection::Clock::now() + replyTimeout))
        return true;
    tlsFailure = tls->Reason();
    errorCode = tls->LastFailure() == TlsChannel::Failure::kCertificate
                    ? smtp_error::kCertificateNotVerified
                    : smtp_error::kTlsFailed;
    tls.reset();  // nothing more goes over this connection
    return false;
}

bool CSmtp::RunDialogue() {
    using Clock = TcpConnection::Clock;
    if (!socket.Connect(serverHost.value_or(std::string()), port, Clock::now() + connectTimeout)) {
        errorCode = smtp_error::kNoConnection;
        return false;
    }
    if (security == MailSecurity::kImplicitTls && !StartTls()) return false;
    if (!ReceiveReply()) return false;
    if (ReplyCode() != 220) {
        errorCode = smtp_error::kBadGreeting;
        return false;
    }

    char name[256] = {};
    localHost = ::gethostname(name, sizeof name - 1) == 0 && name[0] ? name : kFallbackHostName;
    if (!Hello()) return false;

    if (security == MailSecurity::kStartTls) {
        // Without STARTTLS nothing more is said in plain text: no login, no addresses.
        if (!offersStartTls) {
            errorCode = smtp_error::kStartTlsRefused;
            return false;
        }
        if (!Exchange({"STARTTLS\r\n"}, 220, smtp_error::kStartTlsRefused) || !StartTls())
            return false;
        if (!Hello()) return false;  // what the server offers may differ under TLS
    }

    // A login user is set only for servers that require one; without it the AUTH exchange is
    // left out and the server is expected to take the mail as it is. LOGIN is the rule; PLAIN
    // only for a server that lists its mechanisms with PLAIN and without LOGIN.
    if (authUser && !authUser->empty()) {
        const bool plain = listsAuth && !offersLogin && offersPlain;
        if (!(plain ? LoginPlain() : Login())) return false;
    }

    if (!fromAddress) {
        errorCode = smtp_error::kNoSender;
        return false;
    }
    if (!Exchange({"MAIL FROM:<", SingleLine(*fromAddress), ">\r\n"}, 250,
                  smtp_error::kMailFromRefused))
        return false;

    if (toList.empty()) {
        errorCode = smtp_error::kNoRecipient;
        return false;
    }
    int accepted = 0;
    for (const Recipient& recipient : toList) {
        if (!SendCommand({"RCPT TO:<", SingleLine(recipient.address), ">\r\n"}) || !ReceiveReply())
            return false;
        const int code = ReplyCode();
        if (code == 250 || code == 251)  // 251: not local, the server forwards it
            ++accepted;
        else
            errorCode = smtp_error::kRecipientRefused;  // the others still get the mail
    }
    if (accepted == 0) return false;

    if (!Exchange({"DATA\r\n"}, 354, smtp_error::kDataRefused)) return false;
    if (!BuildHeader()) {
        errorCode = smtp_error::kHeaderFailed;
        return false;
    }
    if (!SendBuffer()) return false;
    if (!SendText(EncodeDataBody(body.value_or(std::string())) + "\r\n")) return false;
    if (!Exchange({"\r\n.\r\n"}, 250, smtp_error::kMessageRefused)) return false;
    // The server has taken the mail: a farewell that goes wrong is recorded but does not make a
    // delivered mail count as lost.
    Exchange({"QUIT\r\n"}, 221, smtp_error::kQuitNotAnswered);
    return true;
}

bool CSmtp::Login() {
    if (!Exchange({"AUTH LOGIN\r\n"}, 334, smtp_error::kAuthRefused)) return false;
    if (!Exchange({Base64Encode(authUser->data(), authUser->size()), "\r\n"}, 334,
                  smtp_error::kLoginUnexpected))
        return false;
    if (!authPassword) {
        errorCode = smtp_error::kNoLoginPassword;
        return false;
    }
    if (!SendCommand({Base64Encode(authPassword->data(), authPassword->size()), "\r\n"}) ||
        !ReceiveReply())
        return false;
    switch (ReplyCode()) {
        case 235:
            return true;
        case 535:
            errorCode = smtp_error::kLoginRejected;
            return false;
        default:
            errorCode = smtp_error::kLoginUnexpected;
            return false;
    }
}

bool CSmtp::LoginPlain() {
    if (!authPassword) {
        errorCode = smtp_error::kNoLoginPassword;
        return false;
    }
    // The initial response: no authorisation identity, NUL, user, NUL, password.
    std::string credentials;
    credentials.reserve(authUser->size() + authPassword->size() + 2);
    credentials += '\0';
    credentials += *authUser;
    credentials += '\0';
    credentials += *authPassword;
    if (!SendCommand(
            {"AUTH PLAIN ", Base64Encode(credentials.data(), credentials.size()), "\r\n"}) ||
        !ReceiveReply())
        return false;
    const int code = ReplyCode();
    switch (code) {
        case 235:
            return true;
        case 535:
            errorCode = smtp_error::kLoginRejected;
            return false;
        default:
            errorCode = code >= 500 ? smtp_error::kAuthRefused : smtp_error::kLoginUnexpected;
            return false;
    }
}

bool CSmtp::BuildHeader() {
    std::string header;
    const std::string date = FormatMailDate(std::time(nullptr));
    if (date.empty()) return false;
    header += "Date: " + date + "\r\n";

    if (!fromAddress) {
        errorCode = smtp_error::kNoSender;
        return false;
    }
    header += "From: ";
    if (fromName && !fromName->empty()) header += SingleLine(*fromName) + " ";
    header += "<" + SingleLine(*fromAddress) + ">\r\n";
    if (mailer) header += "X-Mailer: " + SingleLine(*mailer) + "\r\n";
    if (replyTo) header += "Reply-To: " + SingleLine(*replyTo) + "\r\n";
    header += "X-Priority: 3 (Normal)\r\n";

    if (toList.empty()) {
        errorCode = smtp_error::kNoRecipient;
        return false;
    }
    header += "To: ";
    for (std::size_t i = 0; i < toList.size(); ++i) {
        if (i > 0) header += ',';
        header += SingleLine(toList[i].name) + "<" + SingleLine(toList[i].address) + ">";
    }
    header += "\r\n";

    if (subject) {
        header += "Subject: " + SingleLine(*subject) + "\r\n";
    } else {
        errorCode = smtp_error::kNoSubject;  // the mail still goes out
        header += "Subject:  \r\n";
    }
    header +=
        "MIME-Version: 1.0\r\n"
        "Content-type: text/plain; charset=US-ASCII\r\n"
        "Content-Transfer-Encoding: 7bit\r\n"
        "\r\n";

    if (header.size() > kBufferSize - 1) return false;
    std::memcpy(sendBuffer.data(), header.data(), header.size());
    sendBuffer[header.size()] = '\0';
    return true;
}

bool CSmtp::SendCommand(std::initializer_list<std::string_view> parts) {
    std::size_t total = 0;
    for (std::string_view part : parts) total += part.size();
    // A command is never cut: one that does not fit is not sent at all.
    if (total > kBufferSize - 1) {
        errorCode = smtp_error::kSendFailed;
        return false;
    }
    char* out = sendBuffer.data();
    for (std::string_view part : parts) out = std::copy(part.begin(), part.end(), out);
    *out = '\0';
    return SendBuffer();
}

bool CSmtp::SendBuffer() {
    const std::size_t length = std::strlen(sendBuffer.data());
    if (length == 0) return true;
    if (Send(sendBuffer.data(), length, TcpConnection::Clock::now() + replyTimeout) !=
        TcpConnection::Result::kOk) {
        errorCode = smtp_error::kSendFailed;
        return false;
    }
    return true;
}

bool CSmtp::SendText(std::string_view text) {
    while (!text.empty()) {
        const std::size_t piece = std::min(text.size(), kBufferSize - 1);
        std::memcpy(sendBuffer.data(), text.data(), piece);
        sendBuffer[piece] = '\0';
        if (!SendBuffer()) return false;
        text.remove_prefix(piece);
    }
    return true;
}

bool CSmtp::ReceiveReply() {
    SmtpReplyReader reader(receiveBuffer);
    const auto deadline = TcpConnection::Clock::now() + replyTimeout;
    for (;;) {
        const std::span<char> space = reader.FreeSpace();
        std::size_t received = 0;
        switch (Receive(space.data(), space.size(), deadline, &received)) {
            case TcpConnection::Result::kOk:
                if (reader.Append(received)) return true;
                break;
            case TcpConnection::Result::kClosed:
                errorCode = smtp_error::kConnectionClosed;
                return false;
            case TcpConnection::Result::kTimedOut:
            case TcpConnection::Result::kFailed:
                errorCode = smtp_error::kReceiveFailed;
                return false;
        }
    }
}

TcpConnection::Result CSmtp::Send(const char* data, std::size_t size,
                                  TcpConnection::Clock::time_point deadline) {
    if (!tls) return socket.SendAll(data, size, deadline);
    const TcpConnection::Result result = tls->SendAll(data, size, deadline);
    if (result != TcpConnection::Result::kOk) tlsFailure = tls->Reason();
    return result;
}

TcpConnection::Result CSmtp::Receive(char* data, std::size_t capacity,
                                     TcpConnection::Clock::time_point deadline,
                                     std::size_t* received) {
    if (!tls) return socket.ReceiveSome(data, capacity, deadline, received);
    const TcpConnection::Result result = tls->ReceiveSome(data, capacity, deadline, received);
    if (result != TcpConnection::Result::kOk) tlsFailure = tls->Reason();
    return result;
}

int CSmtp::ReplyCode() const {
    return SmtpReplyCode(receiveBuffer.data());
}

bool CSmtp::Exchange(std::initializer_list<std::string_view> parts, int expected, DWORD failure) {
    if (!SendCommand(parts) || !ReceiveReply()) return false;
    if (ReplyCode() != expected) {
        errorCode = failure;
        return false;
    }
    return true;
}
