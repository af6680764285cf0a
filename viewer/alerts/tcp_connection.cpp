#include "viewer/alerts/tcp_connection.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "viewer/alerts/abort_signal.h"

namespace {

struct AddrInfoDeleter {
    void operator()(addrinfo* info) const { ::freeaddrinfo(info); }
};

bool ResolveIpv4(const std::string& host, in_addr* address) {
    if (host.empty()) return false;
    if (::inet_pton(AF_INET, host.c_str(), address) == 1) return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
    std::unique_ptr<addrinfo, AddrInfoDeleter> owner(found);
    *address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    return true;
}

}  // namespace

int TcpConnection::WaitFor(short events, Clock::time_point deadline) {
    for (;;) {
        if (abort_ && abort_->Raised()) {
            lastError_ = ECANCELED;
            return -1;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            lastError_ = ETIMEDOUT;
            return 0;
        }
        pollfd entries[2] = {{fd_, events, 0}, {abort_ ? abort_->Fd() : -1, POLLIN, 0}};
        const int ready = ::poll(entries, 2, static_cast<int>(left.count()));
        if (ready > 0 && entries[1].revents != 0) continue;  // reported by the check above
        if (ready > 0) return 1;
        if (ready < 0 && errno != EINTR) {
            lastError_ = errno;
            return -1;
        }
    }
}

TcpConnection::~TcpConnection() {
    Close();
}

void TcpConnection::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool TcpConnection::Connect(const std::string& host, std::uint16_t port,
                            Clock::time_point deadline) {
    Close();
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    if (!ResolveIpv4(host, &peer.sin_addr)) {
        lastError_ = EHOSTUNREACH;
        return false;
    }

    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
        lastError_ = errno;
        return false;
    }
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) return true;
    if (errno != EINPROGRESS && errno != EINTR) {
        lastError_ = errno;
        Close();
        return false;
    }
    if (WaitFor(POLLOUT, deadline) != 1) {
        Close();
        return false;
    }
    int error = 0;
    socklen_t errorSize = sizeof error;
    if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &errorSize) != 0 || error != 0) {
        lastError_ = error != 0 ? error : errno;
        Close();
        return false;
    }
    return true;
}

TcpConnection::Result TcpConnection::SendAll(const char* data, std::size_t size,
                                             Clock::time_point deadline) {
    if (fd_ < 0) return Result::kFailed;
    while (size > 0) {
        const ssize_t sent = ::send(fd_, data, size, MSG_NOSIGNAL);
        if (sent > 0) {
            data += sent;
            size -= static_cast<std::size_t>(sent);
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            const int ready = WaitFor(POLLOUT, deadline);
            if (ready == 0) return Result::kTimedOut;
            if (ready < 0) return Result::kFailed;
            continue;
        }
        lastError_ = errno;
        return Result::kFailed;
    }
    return Result::kOk;
}

TcpConnection::Result TcpConnection::ReceiveSome(char* data, std::size_t capacity,
                                                 Clock::time_point deadline,
                                                 std::size_t* received) {
    *received = 0;
    if (fd_ < 0 || capacity == 0) return Result::kFailed;
    for (;;) {
        const ssize_t got = ::recv(fd_, data, capacity, 0);
        if (got > 0) {
            *received = static_cast<std::size_t>(got);
            return Result::kOk;
        }
        if (got == 0) return Result::kClosed;
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            lastError_ = errno;
            return Result::kFailed;
        }
        const int ready = WaitFor(POLLIN, deadline);
        if (ready == 0) return Result::kTimedOut;
        if (ready < 0) return Result::kFailed;
    }
}
