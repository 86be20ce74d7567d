#pragma once
// TCP connects that are started and then watched, many at once, from one
// thread: the latency test of all nodes measures how long each takes.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A socket address as the system holds it (IPv4 or IPv6), port included.
struct TcpEndpoint {
  std::array<unsigned char, 28> bytes{};
  int length = 0;
};

struct ConnectEnded {
  int slot;
  bool connected;  // false: refused, unreachable, or any other failure
};

class TcpConnects {
 public:
  virtual ~TcpConnects() = default;
  // A literal address (IPv4, or IPv6 without brackets) or a host name; may
  // block on a name server, and is called from several threads at once.
  virtual std::optional<TcpEndpoint> Resolve(const std::string& host, std::uint16_t port) = 0;
  // Starts a connect without waiting for it, under the caller's slot number;
  // false when it failed at once.
  virtual bool Open(int slot, const TcpEndpoint& to) = 0;
  // Waits at most `waitMs` for connects under way to end; each ended one is
  // reported once and its socket closed.
  virtual std::vector<ConnectEnded> Wait(int waitMs) = 0;
  // Gives up a connect still under way.
  virtual void Abandon(int slot) = 0;
  // A steady clock in microseconds; only differences mean anything.
  virtual std::int64_t NowMicros() = 0;
};
