#include "platform/win32/tcp_connects_win32.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <cstring>

namespace {

// Windows Sockets 2.2, once per process; it stays until the process ends.
bool SocketsStarted() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

}  // namespace

Win32TcpConnects::~Win32TcpConnects() {
  for (const auto& [slot, socket] : sockets_) closesocket(static_cast<SOCKET>(socket));
}

std::optional<TcpEndpoint> Win32TcpConnects::Resolve(const std::string& host, std::uint16_t port) {
  if (!SocketsStarted()) return std::nullopt;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found) return std::nullopt;
  std::optional<TcpEndpoint> endpoint;
  for (addrinfo* a = found; a && !endpoint; a = a->ai_next) {
    if ((a->ai_family != AF_INET && a->ai_family != AF_INET6) || a->ai_addrlen > sizeof(TcpEndpoint::bytes)) continue;
    endpoint.emplace();
    std::memcpy(endpoint->bytes.data(), a->ai_addr, a->ai_addrlen);
    endpoint->length = static_cast<int>(a->ai_addrlen);
  }
  freeaddrinfo(found);
  return endpoint;
}

bool Win32TcpConnects::Open(int slot, const TcpEndpoint& to) {
  if (!SocketsStarted()) return false;
  const auto* address = reinterpret_cast<const sockaddr*>(to.bytes.data());
  SOCKET s = socket(address->sa_family, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return false;
  u_long nonBlocking = 1;
  if (ioctlsocket(s, FIONBIO, &nonBlocking) != 0 ||
      (connect(s, address, to.length) != 0 && WSAGetLastError() != WSAEWOULDBLOCK)) {
    closesocket(s);
    return false;
  }
  // A connect made at once (loopback may) is reported by the next Wait.
  sockets_[slot] = static_cast<std::uintptr_t>(s);
  return true;
}

std::vector<ConnectEnded> Win32TcpConnects::Wait(int waitMs) {
  std::vector<ConnectEnded> ended;
  if (sockets_.empty()) {
    Sleep(static_cast<DWORD>(waitMs));
    return ended;
  }
  fd_set writable, failed;
  FD_ZERO(&writable);
  FD_ZERO(&failed);
  for (const auto& [slot, socket] : sockets_) {
    FD_SET(static_cast<SOCKET>(socket), &writable);
    FD_SET(static_cast<SOCKET>(socket), &failed);
  }
  timeval wait{waitMs / 1000, (waitMs % 1000) * 1000};
  if (select(0, nullptr, &writable, &failed, &wait) <= 0) return ended;
  for (auto it = sockets_.begin(); it != sockets_.end();) {
    const auto s = static_cast<SOCKET>(it->second);
    // Windows tells a failed connect in the exception set, a made one in
    // the write set.
    const bool refused = FD_ISSET(s, &failed);
    if (!refused && !FD_ISSET(s, &writable)) {
      ++it;
      continue;
    }
    int error = 0;
    int size = sizeof error;
    getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
    ended.push_back({it->first, !refused && error == 0});
    closesocket(s);
    it = sockets_.erase(it);
  }
  return ended;
}

void Win32TcpConnects::Abandon(int slot) {
  if (const auto it = sockets_.find(slot); it != sockets_.end()) {
    closesocket(static_cast<SOCKET>(it->second));
    sockets_.erase(it);
  }
}

std::int64_t Win32TcpConnects::NowMicros() {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<std::int64_t>(now.QuadPart / frequency * 1'000'000 + now.QuadPart % frequency * 1'000'000 / frequency);
}
