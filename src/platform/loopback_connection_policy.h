#pragma once
// When the loopback HTTP server lets go of a connection. Its few slots are
// meant for requests that come at once (a PAC fetch takes milliseconds), so
// a web page that has found the port must not be able to keep them busy:
// idle connections, TLS hellos and half requests give way quickly, and to
// any newcomer when all slots are taken.
#include <cstddef>
#include <cstdint>
#include <span>

namespace loopback {

inline constexpr std::size_t kMaxConnections = 8;
// A connection that has sent nothing by then (a browser's preconnect, an
// idle socket) is closed.
inline constexpr std::uint32_t kFirstByteMs = 1000;
// The whole request head must arrive within this time of the accept.
inline constexpr std::uint32_t kRequestMs = 3000;
// The whole answer must be taken within this time.
inline constexpr std::uint32_t kAnswerMs = 5000;

struct Connection {
  std::uint32_t since = 0;  // tick count of the accept, then of the answer's start
  bool sentAny = false;     // a byte of the request came
  bool answering = false;   // the request came whole; its answer goes out
};

// Whether a request may begin with this byte: an HTTP method is a token
// (RFC 9110). A TLS hello (0x16) from an https:// address cannot.
bool CanStartHttpMethod(unsigned char byte);

// Whether the connection has had its time (tick counts wrap around).
bool OutOfTime(const Connection& connection, std::uint32_t now);

// With every slot taken, which connection makes room for a newcomer: the
// oldest that has not sent a whole request. `open` is in the order the
// connections came. `open.size()` when every one is answering: the
// newcomer is turned away.
std::size_t ConnectionToEvict(std::span<const Connection> open);

}  // namespace loopback
