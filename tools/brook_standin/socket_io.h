#pragma once
// Blocking Winsock helpers shared by the two proxy protocols.
#include <winsock2.h>

#include <cstddef>
#include <string>
#include <string_view>

// Closes the socket when it goes out of scope.
class Socket {
 public:
  Socket() = default;
  explicit Socket(SOCKET s) : s_(s) {}
  ~Socket() { Close(); }
  Socket(Socket&& other) noexcept : s_(other.s_) { other.s_ = INVALID_SOCKET; }
  Socket& operator=(Socket&& other) noexcept;
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;

  SOCKET Get() const { return s_; }
  bool Valid() const { return s_ != INVALID_SOCKET; }
  void Close();

 private:
  SOCKET s_ = INVALID_SOCKET;
};

// A listening socket on "host:port" (IPv4 or a bracketed IPv6 address);
// invalid when the address cannot be bound.
Socket ListenOn(const std::string& address);
// A connection to host (name or address) and port; invalid on failure.
Socket ConnectTo(const std::string& host, const std::string& port);

bool SendAll(SOCKET s, std::string_view bytes);
// Exactly `size` bytes, or false when the peer closed or failed first.
bool ReceiveExactly(SOCKET s, void* buffer, std::size_t size);

// Copies both directions until both have ended; an end in one direction is
// passed on as a shutdown of sending, so half-closed exchanges still work.
void Relay(SOCKET client, SOCKET server);
