// The program's own SMTP client: one plain-text mail per object, delivered over one connection
// with EHLO, an optional AUTH LOGIN (AUTH PLAIN for a server that lists PLAIN but not LOGIN),
// MAIL FROM, RCPT TO, DATA and QUIT. The connection is plain text unless told otherwise:
// STARTTLS after the first EHLO, or TLS from the first byte, both with the server's certificate
// verified.
//
// Use: construct (go on only when errorCode is 0), fill through the setters, call Deliver once,
// destroy. Texts are 8-bit strings in the user's character set and go out byte for byte; the
// object belongs to the thread that fills it and calls Deliver, which blocks that thread for the
// whole dialogue (each wait bounded by the time-outs).
#pragma once

#include <chrono>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/win_types.h"
#include "viewer/alerts/mail_security.h"
#include "viewer/alerts/tcp_connection.h"

class TlsChannel;

class CSmtp {
  public:
    struct Recipient {
        std::string name;  // always empty: recipients are added by address only
        std::string address;
    };

    // Size of the outgoing and incoming text buffers.
    static constexpr std::size_t kBufferSize = 10240;
    static constexpr std::chrono::milliseconds kDefaultConnectTimeout{10000};
    static constexpr std::chrono::milliseconds kDefaultReplyTimeout{30000};

    // Allocates both buffers (406 when that fails).
    CSmtp();
    virtual ~CSmtp();
    CSmtp(const CSmtp&) = delete;
    CSmtp& operator=(const CSmtp&) = delete;

    // Each setter keeps its own copy of the NUL-terminated text; a null text clears the field.
    // An allocation failure records 406.
    void SetServerHost(const char* host);  // also sets port to 25
    void SetPort(WORD serverPort) { port = serverPort; }
    // Plain text (the default), STARTTLS or TLS from the start.
    void SetSecurity(MailSecurity mode) { security = mode; }
    // The certificate authorities (PEM file) TLS trusts; empty (the default): the system's store.
    void SetTrustFile(std::string caFile) { trustFile = std::move(caFile); }
    void SetFromAddress(const char* address);
    void SetFromName(const char* name);
    void SetReplyAddress(const char* address);
    void SetSubjectLine(const char* text);
    void SetBodyText(const char* text);
    void SetAuthUser(const char* user);
    void SetAuthPassword(const char* password);
    // Sets the X-Mailer text to "This is (v3.02) Professional".
    void SetMailerText();
    // Appends a To recipient; a null address records 206 and returns false.
    bool AddToAddress(const char* address);

    // Longest wait for the connection to open, and for each reply of the server (whole reply).
    void SetTimeouts(std::chrono::milliseconds connect, std::chrono::milliseconds reply);
    // Every wait of Deliver also ends, failing, once `abort` is raised (from any thread); null:
    // never. `abort` must outlive Deliver.
    void SetAbort(const AbortSignal* abort) { socket.SetAbort(abort); }

    // Runs the dialogue. True when the server accepted the message (even if QUIT then goes
    // unanswered). Without a login user the AUTH exchange is left out. With STARTTLS, a server
    // that does not list it gets neither login nor mail (307); with either TLS mode a certificate
    // that does not verify ends the delivery (407). The connection is closed on every path;
    // errorCode tells the last failing step (305, 202 and 304 leave the result true).
    bool Deliver();

    // After Deliver: the server's last reply (empty when none came), its final line alone
    // (without the line end), and the errno value of the last failing socket step (0 when none
    // failed; see TcpConnection::LastError).
    std::string LastReply() const {
        return receiveBuffer.empty() ? std::string() : receiveBuffer.data();
    }
    std::string LastReplyLine() const;
    int SocketError() const { return socket.LastError(); }
    // After Deliver: why TLS failed, in GnuTLS's words (for 407, what did not verify); empty when
    // TLS did not fail or was not used.
    const std::string& TlsFailure() const { return tlsFailure; }

    // Read and set by the caller.
    DWORD errorCode = 0;
    WORD port = 0;
    LONG priority = 3;  // 3 = normal, the only value in use

  private:
    // Writes the message header into sendBuffer; false (with 200, 201 or 203) when it cannot.
    bool BuildHeader();
    bool RunDialogue();
    // EHLO, and what the reply lists; false (301 and the like) when it is refused.
    bool Hello();
    // The TLS handshake on the open connection; 407 or 408 when it fails.
    bool StartTls();
    bool Login();
    bool LoginPlain();
    // The connection's send and receive, through TLS once it runs.
    TcpConnection::Result Send(const char* data, std::size_t size,
                               TcpConnection::Clock::time_point deadline);
    TcpConnection::Result Receive(char* data, std::size_t capacity,
                                  TcpConnection::Clock::time_point deadline, std::size_t* received);
    // Stages the concatenated parts in sendBuffer and sends them; 102 when they do not fit.
    bool SendCommand(std::initializer_list<std::string_view> parts);
    // Sends the NUL-terminated content of sendBuffer; 102 on failure.
    bool SendBuffer();
    // Sends text of any length through sendBuffer, one buffer-full at a time.
    bool SendText(std::string_view text);
    // Reads one whole reply into receiveBuffer; 103 on error or time-out, 400 when the server
    // closes the connection.
    bool ReceiveReply();
    int ReplyCode() const;
    // SendCommand, ReceiveReply, and `failure` recorded unless the reply code is `expected`.
    bool Exchange(std::initializer_list<std::string_view> parts, int expected, DWORD failure);
    void StoreText(std::optional<std::string>& field, const char* text);

    // All fields belong to the thread that fills the object and calls Deliver.
    std::string localHost;  // name sent with EHLO
    std::optional<std::string> fromAddress;
    std::optional<std::string> fromName;
    std::optional<std::string> subject;
    std::optional<std::string> body;
    std::optional<std::string> mailer;
    std::optional<std::string> replyTo;
    std::optional<std::string> authUser;
    std::optional<std::string> authPassword;
    std::optional<std::string> serverHost;
    std::vector<char> sendBuffer;     // outgoing text, NUL-terminated; kBufferSize bytes
    std::vector<char> receiveBuffer;  // last reply, NUL-terminated; kBufferSize bytes
    TcpConnection socket;             // open only inside Deliver
    std::unique_ptr<TlsChannel> tls;  // over socket, only inside Deliver once TLS runs
    MailSecurity security = MailSecurity::kNone;
    std::string trustFile;
    std::string tlsFailure;
    bool offersStartTls = false;  // the last EHLO reply's
    bool offersLogin = false;
    bool offersPlain = false;
    bool listsAuth = false;
    std::vector<Recipient> toList;
    std::chrono::milliseconds connectTimeout = kDefaultConnectTimeout;
    std::chrono::milliseconds replyTimeout = kDefaultReplyTimeout;
};
