// TlsChannel: a TLS client session (GnuTLS) over an open TcpConnection, for mail servers that
// want TLS. The handshake checks the server's certificate against a trust source and the server's
// host name (or IP address); only TLS 1.2 and newer are offered. Records then go over the
// connection with the same deadlines and abort as plain text: every byte the session reads or
// writes goes through TcpConnection's bounded waits.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "viewer/alerts/tcp_connection.h"

class TlsChannel {
  public:
    using Clock = TcpConnection::Clock;
    using Result = TcpConnection::Result;

    enum class Failure {
        kNone,
        kSetup,        // the session or the trust source could not be set up
        kCertificate,  // the server's certificate did not verify (untrusted, expired, wrong name)
        kHandshake,    // the handshake failed otherwise (no common protocol version or cipher, ...)
        kTransport,    // the connection failed, timed out, was aborted or closed under the session
    };

    // `tcp` is connected, is not owned and outlives the channel.
    explicit TlsChannel(TcpConnection& tcp);
    ~TlsChannel();
    TlsChannel(const TlsChannel&) = delete;
    TlsChannel& operator=(const TlsChannel&) = delete;

    // Runs the handshake with the server `host` (named in the handshake unless it is an IP
    // address), trusting the certificate authorities of the PEM file `caFile`, or the system's
    // trust store when it is empty. Every wait ends by `deadline`. False on failure; LastFailure
    // and Reason say why.
    bool Handshake(const std::string& host, const std::string& caFile, Clock::time_point deadline);

    // After a successful handshake, as TcpConnection's calls of the same names.
    Result SendAll(const char* data, std::size_t size, Clock::time_point deadline);
    Result ReceiveSome(char* data, std::size_t capacity, Clock::time_point deadline,
                       std::size_t* received);
    // Tells the server the session ends (without waiting for its answer).
    void Close(Clock::time_point deadline);

    Failure LastFailure() const { return failure_; }
    // The last failure in words (GnuTLS's text; for a certificate, what did not verify); empty
    // when none.
    const std::string& Reason() const { return reason_; }

  private:
    struct Session;

    bool Fail(Failure failure, std::string reason);

    // All fields belong to the thread that uses the connection.
    TcpConnection& tcp_;
    std::unique_ptr<Session> session_;
    Failure failure_ = Failure::kNone;
    std::string reason_;
};
