#include "tests/viewer/alerts/smtp_peer_process.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>
#include <vector>

extern char** environ;

namespace {

constexpr const char* kPython = "/usr/bin/python3";
constexpr auto kPollInterval = std::chrono::milliseconds(20);

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

// A port nothing listens on right now, found by binding to port 0.
std::uint16_t FreeLoopbackPort() {
    const int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    socklen_t size = sizeof address;
    std::uint16_t port = 0;
    if (probe >= 0 && ::bind(probe, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
        ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    if (probe >= 0) ::close(probe);
    return port;
}

bool Accepts(std::uint16_t port) {
    const int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe < 0) return false;
    const sockaddr_in address = Loopback(port);
    const bool connected =
        ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(probe);
    return connected;
}

}  // namespace

SmtpPeerProcess::SmtpPeerProcess(const std::string& outDir, const std::string& user,
                                 const std::string& password, const Options& options)
    : port_(FreeLoopbackPort()), caFile_(outDir + "/ca.pem") {
    using Tls = Options::Tls;
    using Certificate = Options::Certificate;
    const std::string port = std::to_string(port_);
    std::vector<std::string> args{kPython, SMTP_PEER_SCRIPT, port, outDir, user, password};
    if (options.tls != Tls::kNone) {
        args.insert(args.end(), {"--tls", options.tls == Tls::kStartTls ? "starttls" : "implicit"});
        args.insert(args.end(),
                    {"--cert", options.certificate == Certificate::kGood        ? "good"
                               : options.certificate == Certificate::kWrongHost ? "wrong-host"
                                                                                : "expired"});
    }
    if (!options.offerLogin) args.push_back("--without-login");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (port_ == 0 || ::posix_spawn(&pid_, kPython, nullptr, nullptr, argv.data(), environ) != 0)
        pid_ = -1;
}

SmtpPeerProcess::~SmtpPeerProcess() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
}

bool SmtpPeerProcess::WaitUntilListening(std::chrono::milliseconds limit) {
    if (pid_ <= 0) return false;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;  // exited before it was ready
            return false;
        }
        if (Accepts(port_)) return true;
        std::this_thread::sleep_for(kPollInterval);
    }
    return false;
}
