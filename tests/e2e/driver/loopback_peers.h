#pragma once
// Loopback ports for the latency test of all nodes: listeners whose
// connects are made (the system completes them without an accept), ports
// where no one listens, and one listener that never accepts and whose
// backlog is full, so that further connects wait for ever.
#include <winsock2.h>

#include <vector>

namespace e2e {

class LoopbackPeers {
 public:
  LoopbackPeers();
  ~LoopbackPeers();
  LoopbackPeers(const LoopbackPeers&) = delete;
  LoopbackPeers& operator=(const LoopbackPeers&) = delete;

  // A listener of its own with room for many connects.
  int AddListener();
  // A port picked by the system where no one listens: connects are refused.
  int ClosedPort();
  // The one listener whose backlog is filled; 0 when it could not be filled.
  int SilentPort();

 private:
  std::vector<SOCKET> sockets_;
  int silentPort_ = 0;
};

}  // namespace e2e
