// The real SMTP server of smtp_peer.py (aiosmtpd under Debian's Python) run as a child process on
// a free loopback port for the length of a test.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>

class SmtpPeerProcess {
  public:
    // Starts the server, which accepts the login `user` / `password` and records into `outDir`.
    SmtpPeerProcess(const std::string& outDir, const std::string& user,
                    const std::string& password);
    // Terminates the server and waits for it.
    ~SmtpPeerProcess();
    SmtpPeerProcess(const SmtpPeerProcess&) = delete;
    SmtpPeerProcess& operator=(const SmtpPeerProcess&) = delete;

    std::uint16_t Port() const { return port_; }
    // Polls the port until the server accepts connections; false when it has not done so within
    // `limit` or has exited.
    bool WaitUntilListening(std::chrono::milliseconds limit);

  private:
    std::uint16_t port_ = 0;
    pid_t pid_ = -1;
};
