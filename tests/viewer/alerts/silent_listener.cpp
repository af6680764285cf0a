#include "tests/viewer/alerts/silent_listener.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace {

// Binds `fd` to a free loopback port and returns the port.
std::uint16_t BindLoopback(int fd) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        throw std::runtime_error("cannot bind a loopback port");
    return ntohs(address.sin_port);
}

}  // namespace

SilentListener::SilentListener() : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    port_ = BindLoopback(fd_);
    if (::listen(fd_, 8) != 0) throw std::runtime_error("cannot listen on a loopback port");
}

SilentListener::~SilentListener() {
    if (fd_ >= 0) ::close(fd_);
}

std::uint16_t ClosedLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const std::uint16_t port = BindLoopback(fd);
    ::close(fd);
    return port;
}
