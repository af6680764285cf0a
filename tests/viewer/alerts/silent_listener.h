// Loopback peers that never speak, for mail tests: a listener that never accepts (connections
// complete in its backlog and never hear a word) and a port nobody listens on (a connection is
// refused at once).
#pragma once

#include <cstdint>

class SilentListener {
  public:
    SilentListener();
    ~SilentListener();
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;

    std::uint16_t Port() const { return port_; }

  private:
    // Immutable after construction; the listening socket is only ever closed.
    int fd_ = -1;
    std::uint16_t port_ = 0;
};

// A loopback port that was free a moment ago and has no listener.
std::uint16_t ClosedLoopbackPort();
