#include "driver/loopback_peers.h"

#include <ws2tcpip.h>

namespace e2e {

namespace {

SOCKET Bound(sockaddr_in& address) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int size = sizeof address;
  if (s == INVALID_SOCKET || bind(s, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    if (s != INVALID_SOCKET) closesocket(s);
    return INVALID_SOCKET;
  }
  return s;
}

// Whether a non-blocking connect is made within `waitMs`; the socket is
// kept either way, so the backlog stays as full as it got.
bool ConnectsWithin(SOCKET s, const sockaddr_in& to, int waitMs) {
  u_long nonBlocking = 1;
  ioctlsocket(s, FIONBIO, &nonBlocking);
  connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to);
  fd_set writable;
  FD_ZERO(&writable);
  FD_SET(s, &writable);
  timeval wait{0, waitMs * 1000};
  return select(0, nullptr, &writable, nullptr, &wait) == 1;
}

}  // namespace

LoopbackPeers::LoopbackPeers() {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
}

LoopbackPeers::~LoopbackPeers() {
  for (SOCKET s : sockets_) closesocket(s);
}

int LoopbackPeers::AddListener() {
  sockaddr_in address;
  SOCKET s = Bound(address);
  if (s == INVALID_SOCKET || listen(s, SOMAXCONN) != 0) return 0;
  sockets_.push_back(s);
  return ntohs(address.sin_port);
}

int LoopbackPeers::ClosedPort() {
  sockaddr_in address;
  SOCKET s = Bound(address);
  if (s == INVALID_SOCKET) return 0;
  // Kept bound, never listening: connects are refused, and the system
  // cannot hand the port to a listener made later.
  sockets_.push_back(s);
  return ntohs(address.sin_port);
}

int LoopbackPeers::SilentPort() {
  if (silentPort_) return silentPort_;
  sockaddr_in address;
  SOCKET listener = Bound(address);
  if (listener == INVALID_SOCKET || listen(listener, 1) != 0) return 0;
  sockets_.push_back(listener);
  // The system queues a few connects beyond the backlog it was given;
  // once one is left waiting, the queue is full.
  for (int i = 0; i < 64; ++i) {
    SOCKET client = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockets_.push_back(client);
    if (!ConnectsWithin(client, address, 300)) return silentPort_ = ntohs(address.sin_port);
  }
  return 0;
}

}  // namespace e2e
