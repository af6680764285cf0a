#include "tests/viewer/alerts/scripted_smtp_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace {

// Longest the server waits for the client to connect or to say anything.
constexpr int kIdleLimitMs = 5000;
// Pause between the pieces of one reply: long enough for a client that reads one piece as a
// whole reply to answer it, which the server then notices.
constexpr int kPiecePauseMs = 50;

bool WaitReadable(int fd, int timeoutMs) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, timeoutMs) > 0;
}

}  // namespace

ScriptedSmtpServer::ScriptedSmtpServer(std::vector<Reply> replies, const char* address)
    : replies_(std::move(replies)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_pton(AF_INET, address, &local.sin_addr);
    socklen_t size = sizeof local;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&local), size) != 0 ||
        ::listen(listener_, 1) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&local), &size) != 0) {
        if (listener_ >= 0) ::close(listener_);
        throw std::runtime_error("cannot listen on a loopback port");
    }
    port_ = ntohs(local.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

ScriptedSmtpServer::~ScriptedSmtpServer() {
    if (thread_.joinable()) thread_.join();
    ::close(listener_);
}

ScriptedSmtpServer::Transcript ScriptedSmtpServer::Finish() {
    if (thread_.joinable()) thread_.join();
    return transcript_;
}

bool ScriptedSmtpServer::SendReply(int connection, const Reply& reply) {
    for (std::size_t i = 0; i < reply.size(); ++i) {
        const std::string& piece = reply[i];
        if (::send(connection, piece.data(), piece.size(), MSG_NOSIGNAL) !=
            static_cast<ssize_t>(piece.size()))
            return false;
        if (i + 1 < reply.size() && WaitReadable(connection, kPiecePauseMs))
            transcript_.spokeEarly = true;
    }
    return true;
}

void ScriptedSmtpServer::Serve() {
    if (!WaitReadable(listener_, kIdleLimitMs)) return;
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) return;
    transcript_.connected = true;
    const int noDelay = 1;
    ::setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);

    std::size_t next = 0;
    bool open =
        !replies_.empty() && !replies_[next].empty() && SendReply(connection, replies_[next]);
    ++next;
    bool inData = false;
    std::string pending;
    char chunk[4096];
    while (open) {
        // Take every complete command (or message) already received.
        for (;;) {
            std::size_t consumed = 0;
            if (inData) {
                std::size_t end = pending.rfind(".\r\n", 0) == 0 ? 0 : std::string::npos;
                if (end == std::string::npos) {
                    const std::size_t at = pending.find("\r\n.\r\n");
                    if (at != std::string::npos) end = at + 2;
                }
                if (end == std::string::npos) break;
                transcript_.data = pending.substr(0, end);
                consumed = end + 3;
            } else {
                const std::size_t at = pending.find("\r\n");
                if (at == std::string::npos) break;
                transcript_.commands.push_back(pending.substr(0, at));
                consumed = at + 2;
            }
            pending.erase(0, consumed);
            inData = false;
            if (next < replies_.size()) {
                const Reply& reply = replies_[next++];
                if (reply.empty()) {
                    open = false;
                    break;
                }
                inData = reply.front().rfind("354", 0) == 0;
                if (!SendReply(connection, reply)) open = false;
            }
            if (!open) break;
        }
        if (!open || !WaitReadable(connection, kIdleLimitMs)) break;
        const ssize_t got = ::recv(connection, chunk, sizeof chunk, 0);
        if (got <= 0) break;
        pending.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(connection);
}
