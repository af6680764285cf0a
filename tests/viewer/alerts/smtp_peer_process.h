// The real SMTP server of smtp_peer.py (aiosmtpd under Debian's Python) run as a child process on
// a free loopback port for the length of a test.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>

class SmtpPeerProcess {
  public:
    struct Options {
        enum class Tls {
            kNone,      // plain SMTP, the login without TLS
            kStartTls,  // STARTTLS offered, the login only after it
            kImplicit,  // TLS from the first byte
        };
        enum class Certificate {
            kGood,       // for 127.0.0.1 and localhost
            kWrongHost,  // for another host only
            kExpired,    // for 127.0.0.1 and localhost, expired in 2001
        };
        Tls tls = Tls::kNone;
        Certificate certificate = Certificate::kGood;
        bool offerLogin = true;  // false: AUTH PLAIN only
    };

    // Starts the server, which accepts the login `user` / `password` and records into `outDir`.
    // With TLS it makes its own certificate authority, CaFile(), before it listens.
    SmtpPeerProcess(const std::string& outDir, const std::string& user, const std::string& password,
                    const Options& options);
    SmtpPeerProcess(const std::string& outDir, const std::string& user, const std::string& password)
        : SmtpPeerProcess(outDir, user, password, Options{}) {}
    // Terminates the server and waits for it.
    ~SmtpPeerProcess();
    SmtpPeerProcess(const SmtpPeerProcess&) = delete;
    SmtpPeerProcess& operator=(const SmtpPeerProcess&) = delete;

    std::uint16_t Port() const { return port_; }
    // The test certificate authority's certificate (PEM) that issued the server's.
    const std::string& CaFile() const { return caFile_; }
    // Polls the port until the server accepts connections; false when it has not done so within
    // `limit` or has exited.
    bool WaitUntilListening(std::chrono::milliseconds limit);

  private:
    // The test's thread only.
    std::uint16_t port_ = 0;
    std::string caFile_;
    pid_t pid_ = -1;
};
