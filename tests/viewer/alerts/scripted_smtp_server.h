// An SMTP peer for tests: listens on a loopback address, takes one connection and answers it from
// a fixed script, recording everything the client sends. It stands in for servers that give the
// replies a real server rarely gives (refusals, split or multi-line replies, silence).
#pragma once

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

class ScriptedSmtpServer {
  public:
    // One reply, sent in the given pieces. Between two pieces the server holds back briefly and
    // notes whether the client spoke before the reply was complete. An empty reply closes the
    // connection instead of answering.
    using Reply = std::vector<std::string>;

    struct Transcript {
        bool connected = false;
        std::vector<std::string> commands;  // command lines in order, without CR LF
        std::string data;                   // message after DATA, up to the "." line (excluded)
        bool spokeEarly = false;            // client sent something before a reply was complete
    };

    // replies[0] is the greeting; each further reply answers one command line, and after a reply
    // that begins with "354" the message up to its "." line counts as one command. When the
    // script runs out, the server stays silent and reads until the client closes.
    explicit ScriptedSmtpServer(std::vector<Reply> replies, const char* address = "127.0.0.1");
    ~ScriptedSmtpServer();
    ScriptedSmtpServer(const ScriptedSmtpServer&) = delete;
    ScriptedSmtpServer& operator=(const ScriptedSmtpServer&) = delete;

    std::uint16_t Port() const { return port_; }
    // Waits until the client has closed the connection (at most a few seconds of silence) and
    // returns what it sent.
    Transcript Finish();

  private:
    void Serve();
    bool SendReply(int connection, const Reply& reply);

    // Set up by the constructor, then used by the server thread only.
    std::vector<Reply> replies_;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    // Written by the server thread; read by the test after the thread has ended.
    Transcript transcript_;
    std::thread thread_;
};
