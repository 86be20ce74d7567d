#include "socket_io.h"

#include <ws2tcpip.h>

#include <tuple>

Socket& Socket::operator=(Socket&& other) noexcept {
  if (this != &other) {
    Close();
    s_ = other.s_;
    other.s_ = INVALID_SOCKET;
  }
  return *this;
}

void Socket::Close() {
  if (s_ != INVALID_SOCKET) closesocket(s_);
  s_ = INVALID_SOCKET;
}

namespace {

// "host:port" with the host possibly in brackets.
bool SplitHostPort(const std::string& address, std::string& host, std::string& port) {
  const std::size_t colon = address.rfind(':');
  if (colon == std::string::npos || colon + 1 == address.size()) return false;
  host = address.substr(0, colon);
  port = address.substr(colon + 1);
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  return !host.empty();
}

}  // namespace

Socket ListenOn(const std::string& address) {
  std::string host, port;
  if (!SplitHostPort(address, host, port)) return {};
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICHOST;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0) return {};
  Socket listener(socket(found->ai_family, found->ai_socktype, found->ai_protocol));
  const bool ok = listener.Valid() && bind(listener.Get(), found->ai_addr, static_cast<int>(found->ai_addrlen)) == 0 &&
                  listen(listener.Get(), SOMAXCONN) == 0;
  freeaddrinfo(found);
  return ok ? std::move(listener) : Socket();
}

Socket ConnectTo(const std::string& host, const std::string& port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0) return {};
  Socket connection;
  for (addrinfo* a = found; a && !connection.Valid(); a = a->ai_next) {
    Socket attempt(socket(a->ai_family, a->ai_socktype, a->ai_protocol));
    if (attempt.Valid() && connect(attempt.Get(), a->ai_addr, static_cast<int>(a->ai_addrlen)) == 0)
      connection = std::move(attempt);
  }
  freeaddrinfo(found);
  return connection;
}

bool SendAll(SOCKET s, std::string_view bytes) {
  while (!bytes.empty()) {
    const int sent = send(s, bytes.data(), static_cast<int>(bytes.size()), 0);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

bool ReceiveExactly(SOCKET s, void* buffer, std::size_t size) {
  char* at = static_cast<char*>(buffer);
  while (size > 0) {
    const int got = recv(s, at, static_cast<int>(size), 0);
    if (got <= 0) return false;
    at += got;
    size -= static_cast<std::size_t>(got);
  }
  return true;
}

void Relay(SOCKET client, SOCKET server) {
  bool clientOpen = true, serverOpen = true;  // still sending to us
  char buffer[16384];
  while (clientOpen || serverOpen) {
    fd_set readable;
    FD_ZERO(&readable);
    if (clientOpen) FD_SET(client, &readable);
    if (serverOpen) FD_SET(server, &readable);
    if (select(0, &readable, nullptr, nullptr, nullptr) <= 0) return;
    for (auto [from, to, open] : {std::tuple{client, server, &clientOpen}, std::tuple{server, client, &serverOpen}}) {
      if (!*open || !FD_ISSET(from, &readable)) continue;
      const int got = recv(from, buffer, sizeof buffer, 0);
      if (got > 0) {
        if (!SendAll(to, std::string_view(buffer, static_cast<std::size_t>(got)))) return;
      } else {
        if (got < 0) return;  // reset: nothing more to pass on either way
        *open = false;
        shutdown(to, SD_SEND);
      }
    }
  }
}
