#include "viewer/alerts/tls_channel.h"

#include <arpa/inet.h>
#include <gnutls/gnutls.h>
#include <gnutls/x509.h>

#include <cerrno>

namespace {

// TLS 1.2 and 1.3 only, with GnuTLS's usual ciphers.
constexpr const char* kPriorities = "NORMAL:-VERS-ALL:+VERS-TLS1.3:+VERS-TLS1.2";

bool IsIpAddress(const std::string& host) {
    unsigned char address[16];
    return ::inet_pton(AF_INET, host.c_str(), address) == 1 ||
           ::inet_pton(AF_INET6, host.c_str(), address) == 1;
}

}  // namespace

// The GnuTLS objects of one session and what its transport functions need: the connection, the
// deadline of the call in progress and how the connection's last step ended.
struct TlsChannel::Session {
    explicit Session(TcpConnection& connection) : tcp(connection) {}
    ~Session() {
        if (session) gnutls_deinit(session);
        if (credentials) gnutls_certificate_free_credentials(credentials);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // GnuTLS's transport: every read and write is one bounded wait of the connection.
    static ssize_t Push(gnutls_transport_ptr_t self, const void* data, std::size_t size) {
        Session& s = *static_cast<Session*>(self);
        s.transport = s.tcp.SendAll(static_cast<const char*>(data), size, s.deadline);
        if (s.transport == Result::kOk) return static_cast<ssize_t>(size);
        gnutls_transport_set_errno(s.session, s.transport == Result::kTimedOut ? ETIMEDOUT : EIO);
        return -1;
    }
    static ssize_t Pull(gnutls_transport_ptr_t self, void* data, std::size_t size) {
        Session& s = *static_cast<Session*>(self);
        std::size_t received = 0;
        s.transport = s.tcp.ReceiveSome(static_cast<char*>(data), size, s.deadline, &received);
        switch (s.transport) {
            case Result::kOk:
                return static_cast<ssize_t>(received);
            case Result::kClosed:
                return 0;
            case Result::kTimedOut:
                gnutls_transport_set_errno(s.session, ETIMEDOUT);
                return -1;
            case Result::kFailed:
                break;
        }
        gnutls_transport_set_errno(s.session, EIO);
        return -1;
    }
    // Asked before a read with a time-out of GnuTLS's own: the pull itself waits, bounded by the
    // deadline, so the answer is always "go and read".
    static int PullTimeout(gnutls_transport_ptr_t, unsigned int) { return 1; }

    // The connection's thread only (GnuTLS calls Push and Pull on it, inside the channel's calls).
    TcpConnection& tcp;
    gnutls_certificate_credentials_t credentials = nullptr;
    gnutls_session_t session = nullptr;
    Clock::time_point deadline{};
    Result transport = Result::kOk;
    bool established = false;
};

TlsChannel::TlsChannel(TcpConnection& tcp) : tcp_(tcp) {}

TlsChannel::~TlsChannel() = default;

bool TlsChannel::Fail(Failure failure, std::string reason) {
    failure_ = failure;
    reason_ = std::move(reason);
    return false;
}

bool TlsChannel::Handshake(const std::string& host, const std::string& caFile,
                           Clock::time_point deadline) {
    session_ = std::make_unique<Session>(tcp_);
    Session& s = *session_;
    if (gnutls_certificate_allocate_credentials(&s.credentials) < 0)
        return Fail(Failure::kSetup, "no memory for the TLS credentials");
    const int trusted = caFile.empty() ? gnutls_certificate_set_x509_system_trust(s.credentials)
                                       : gnutls_certificate_set_x509_trust_file(
                                             s.credentials, caFile.c_str(), GNUTLS_X509_FMT_PEM);
    if (trusted <= 0)
        return Fail(Failure::kSetup, caFile.empty() ? std::string("no system certificate store")
                                                    : "no certificate authority in " + caFile);

    if (gnutls_init(&s.session, GNUTLS_CLIENT) < 0)
        return Fail(Failure::kSetup, "no memory for the TLS session");
    const char* errorAt = nullptr;
    if (gnutls_priority_set_direct(s.session, kPriorities, &errorAt) < 0 ||
        gnutls_credentials_set(s.session, GNUTLS_CRD_CERTIFICATE, s.credentials) < 0)
        return Fail(Failure::kSetup, "the TLS session could not be set up");
    if (!IsIpAddress(host) &&
        gnutls_server_name_set(s.session, GNUTLS_NAME_DNS, host.data(), host.size()) < 0)
        return Fail(Failure::kSetup, "the server name could not be set");
    // The certificate must be trusted and name `host` (as a name or as an IP address).
    gnutls_session_set_verify_cert(s.session, host.c_str(), 0);
    gnutls_transport_set_ptr(s.session, &s);
    gnutls_transport_set_push_function(s.session, &Session::Push);
    gnutls_transport_set_pull_function(s.session, &Session::Pull);
    gnutls_transport_set_pull_timeout_function(s.session, &Session::PullTimeout);
    gnutls_handshake_set_timeout(s.session, 0);  // the deadline bounds it instead

    s.deadline = deadline;
    int result;
    do {
        result = gnutls_handshake(s.session);
    } while (result < 0 && gnutls_error_is_fatal(result) == 0 && Clock::now() < deadline);
    if (result == GNUTLS_E_SUCCESS) {
        s.established = true;
        return true;
    }
    if (result == GNUTLS_E_CERTIFICATE_VERIFICATION_ERROR) {
        gnutls_datum_t text{};
        std::string why = "certificate not verified";
        if (gnutls_certificate_verification_status_print(
                gnutls_session_get_verify_cert_status(s.session), GNUTLS_CRT_X509, &text, 0) >= 0 &&
            text.data) {
            why = reinterpret_cast<const char*>(text.data);
            gnutls_free(text.data);
        }
        return Fail(Failure::kCertificate, why);
    }
    if (result == GNUTLS_E_PULL_ERROR || result == GNUTLS_E_PUSH_ERROR ||
        result == GNUTLS_E_PREMATURE_TERMINATION || result == GNUTLS_E_UNEXPECTED_PACKET_LENGTH ||
        s.transport != Result::kOk)
        return Fail(Failure::kTransport, gnutls_strerror(result));
    return Fail(Failure::kHandshake, gnutls_strerror(result));
}

TlsChannel::Result TlsChannel::SendAll(const char* data, std::size_t size,
                                       Clock::time_point deadline) {
    if (!session_ || !session_->established) return Result::kFailed;
    Session& s = *session_;
    s.deadline = deadline;
    while (size > 0) {
        const ssize_t sent = gnutls_record_send(s.session, data, size);
        if (sent > 0) {
            data += sent;
            size -= static_cast<std::size_t>(sent);
            continue;
        }
        if ((sent == GNUTLS_E_AGAIN || sent == GNUTLS_E_INTERRUPTED) && Clock::now() < deadline)
            continue;
        Fail(Failure::kTransport, gnutls_strerror(static_cast<int>(sent)));
        return s.transport == Result::kTimedOut ? Result::kTimedOut : Result::kFailed;
    }
    return Result::kOk;
}

TlsChannel::Result TlsChannel::ReceiveSome(char* data, std::size_t capacity,
                                           Clock::time_point deadline, std::size_t* received) {
    *received = 0;
    if (!session_ || !session_->established || capacity == 0) return Result::kFailed;
    Session& s = *session_;
    s.deadline = deadline;
    for (;;) {
        const ssize_t got = gnutls_record_recv(s.session, data, capacity);
        if (got > 0) {
            *received = static_cast<std::size_t>(got);
            return Result::kOk;
        }
        // 0: the server ended the session; without its close_notify, the connection ended.
        if (got == 0 || got == GNUTLS_E_PREMATURE_TERMINATION) return Result::kClosed;
        if (gnutls_error_is_fatal(static_cast<int>(got)) == 0 && Clock::now() < deadline)
            continue;  // a session ticket, a warning alert or an interrupted read
        Fail(Failure::kTransport, gnutls_strerror(static_cast<int>(got)));
        if (s.transport == Result::kClosed) return Result::kClosed;
        if (s.transport == Result::kTimedOut || Clock::now() >= deadline) return Result::kTimedOut;
        return Result::kFailed;
    }
}

void TlsChannel::Close(Clock::time_point deadline) {
    if (!session_ || !session_->established) return;
    session_->deadline = deadline;
    gnutls_bye(session_->session, GNUTLS_SHUT_WR);
    session_->established = false;
}
