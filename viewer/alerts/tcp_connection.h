// A client TCP connection over POSIX sockets whose every wait has a deadline, so a peer that
// stops answering cannot hold the calling thread.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

class AbortSignal;

class TcpConnection {
  public:
    using Clock = std::chrono::steady_clock;

    enum class Result {
        kOk,
        kTimedOut,  // the deadline passed first
        kClosed,    // the peer ended the connection (receiving only)
        kFailed,    // a socket error, no connection, or the wait was aborted
    };

    TcpConnection() = default;
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    // Connects to `host` on `port`. A dotted IPv4 address is used as it is (no reverse lookup);
    // anything else is resolved as a host name and its first IPv4 address is used. Closes an
    // earlier connection first. False when the lookup, the socket or the connect fails, or when
    // the connect has not completed by `deadline`.
    bool Connect(const std::string& host, std::uint16_t port, Clock::time_point deadline);

    // Sends all `size` bytes, waiting until `deadline` at most for the peer to take them.
    Result SendAll(const char* data, std::size_t size, Clock::time_point deadline);

    // Receives between 1 and `capacity` bytes into `data` (`*received` tells how many), waiting
    // until `deadline` at most for the first of them.
    Result ReceiveSome(char* data, std::size_t capacity, Clock::time_point deadline,
                       std::size_t* received);

    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    // Every later wait also ends, failing, once `abort` is raised (null: never). `abort` must
    // outlive the connection's waits.
    void SetAbort(const AbortSignal* abort) { abort_ = abort; }

    // Why the last failing call failed, as an errno value: ETIMEDOUT for a passed deadline,
    // ECANCELED for an abort, EHOSTUNREACH for a host that cannot be looked up, else the socket's
    // own error (ECONNREFUSED, ENETUNREACH, ...). 0 before any failure.
    int LastError() const { return lastError_; }

  private:
    // Waits for `events` until `deadline`: 1 when ready, 0 when the deadline passed, -1 on an
    // error or an abort (lastError_ says which).
    int WaitFor(short events, Clock::time_point deadline);

    // All fields belong to the thread that uses the connection.
    int fd_ = -1;  // non-blocking socket, -1 when none
    const AbortSignal* abort_ = nullptr;
    int lastError_ = 0;
};
